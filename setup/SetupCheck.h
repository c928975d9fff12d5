// The Setup dialog's check of its four bound rows.
#pragma once

// Validates and normalises setupRows (already read from the edits), composes the four bound
// texts from them, and returns the error number, 0 when no rule failed.
int CheckSetupRows();

// The text of error 1..13; empty for any other number.
const char* SetupErrorText(int number);
