# Area setup: the check of the bound rows and the Setup dialog.
list(APPEND CORE_SOURCES setup/SetupCheck.cpp)
list(APPEND WIN32_SOURCES setup/SetupDialog.cpp)
