// Ids shared by the resource scripts and the code, grouped by menu and dialog.
#ifndef ASCENDOR_RESOURCE_IDS_H
#define ASCENDOR_RESOURCE_IDS_H

// Menu "MENU"
#define CmdNew          20
#define CmdOpen         21
#define CmdEdit         22
#define CmdSave         23
#define CmdSaveAs       24
#define CmdExit         25
#define CmdExportThermals 26
#define CmdStatistics   27
#define CmdManual       30
#define CmdAutomatic    31
#define CmdClearPartly  32
#define CmdClearAll     33
#define CmdUndo         34
#define CmdRedo         35
#define CmdImportHotspots 36
#define CmdFlights      37
#define CmdCreate       40
#define CmdHelp         50
#define CmdAbout        51
#define CmdRecentFirst  60  // the recent projects "&1" to "&4": 60 to 63

// Dialog "SETUP"
#define IdcSetupBackdrop     101
#define IdcSetupTopDeg       103
#define IdcSetupTopMin       104
#define IdcSetupTopThou      105
#define IdcSetupTopHemi      106
#define IdcSetupBottomDeg    107
#define IdcSetupBottomMin    108
#define IdcSetupBottomThou   109
#define IdcSetupBottomHemi   110
#define IdcSetupLeftDeg      111
#define IdcSetupLeftMin      112
#define IdcSetupLeftThou     113
#define IdcSetupLeftHemi     114
#define IdcSetupRightDeg     115
#define IdcSetupRightMin     116
#define IdcSetupRightThou    117
#define IdcSetupRightHemi    118
#define IdcSetupLoad         119
#define IdcSetupCheck        120
#define IdcSetupOk           121
#define IdcSetupMarkerTop    122
#define IdcSetupMarkerBottom 123
#define IdcSetupMarkerLeft   124
#define IdcSetupMarkerRight  125

// Dialog "MANUAL"
#define IdcManualType1        130
#define IdcManualType2        131
#define IdcManualType3        132
#define IdcManualType4        133
#define IdcManualBottom       134
#define IdcManualTop          135
#define IdcManualRadius       136
#define IdcManualWindDir      137
#define IdcManualFactor       138
#define IdcManualCloudCeiling 139
#define IdcManualCloudRadius  140
#define IdcManualCloudType    141
#define IdcManualCloudOn      142
#define IdcManualSet          143

// Dialog "THERMAL": the values carry the MANUAL dialog's ids 130 to 142
#define IdcThermalLat         144
#define IdcThermalLon         145

// Dialog "AUTOMATIC"
#define IdcAutoCeilingMin  150
#define IdcAutoCeilingMax  151
#define IdcAutoRadiusMin   152
#define IdcAutoRadiusMax   153
#define IdcAutoBlue        154
#define IdcAutoDensity     155
#define IdcAutoRandom      156
#define IdcAutoAll         157
#define IdcAutoCloudFirst  158  // 158 + (t - 1) is cloud type t, up to 177
#define IdcAutoCloudLast   177
#define IdcAutoSet         178
#define IdcAutoTest        179
#define IdcAutoClear       180
#define IdcAutoAdd         181
#define IdcAutoOk          182
#define IdcAutoUseMap      183  // "Thermal map"
#define IdcAutoMapName     184
#define IdcAutoChooseMap   185  // "Map..."
#define IdcAutoShowMap     186  // "Show"

// Dialog "CLEARPART"
#define IdcClearPartClear  190
#define IdcClearPartOk     191

// Dialog "ABOUT"
#define IdcAboutOk         200

// Dialog "FLIGHTS"
#define IdcFlightsLoad        210
#define IdcFlightsList        211
#define IdcFlightsMinClimb    212
#define IdcFlightsMinGain     213
#define IdcFlightsMerge       214
#define IdcFlightsSeenIn      215
#define IdcFlightsSummary     216
#define IdcFlightsAdd         217
#define IdcFlightsRemove      218
#define IdcFlightsOk          219
#define IdcFlightsTraceBack   220

#endif
