// Every code the updater writes to its log: the name code refers to, the number that appears in
// the file, the level it is written at and a short meaning (for people and the log reader).
// This table is the only place a code's number is written.
#pragma once

#include <cstddef>
#include <cstdint>

enum LogLevel : int32_t { kInfo = 0, kWarning = 1, kError = 2 };

struct LogCode {
    int32_t number;
    LogLevel level;
    const char* meaning;
};

#define VORLIX_LOG_CODES(X)                                                                       \
    /* Process entry */                                                                           \
    X(kProcessStarted, 1617, kInfo, "process started")                                            \
    X(kControllerAllocFailed, 1239, kError, "no memory for the service controller")               \
    /* Diagnostic log */                                                                          \
    X(kLogFacetFailed, 1433, kWarning, "locale facet failure while writing the log")              \
    X(kLogWriteFailed, 1440, kWarning, "the log file could not be written or closed")             \
    X(kNumberFacetFailed, 1441, kWarning, "locale facet failure while formatting a number")       \
    X(kNumberFormatFailed, 1432, kWarning, "a number could not be formatted")                     \
    /* Auto-update mode commands */                                                               \
    X(kSetModeFileManagerAllocFailed, 1418, kWarning, "set mode: no memory for the file manager") \
    X(kSetModePolicyAllocFailed, 1428, kWarning, "set mode: no memory for the policy file")       \
    X(kQueryModeFileManagerAllocFailed, 1419, kWarning,                                           \
      "query mode: no memory for the file manager")                                               \
    X(kQueryModePolicyAllocFailed, 1429, kWarning, "query mode: no memory for the policy file")   \
    X(kSilentAutoUpdateIsEnabled, 1607, kInfo, "silent auto-update is enabled")                   \
    /* Update settings */                                                                         \
    X(kSettingsLoadFailed, 1233, kError, "the update settings could not be loaded")               \
    X(kSecondaryHostConversionFailed, 1237, kError,                                               \
      "the server domain could not be converted (secondary host)")                                \
    X(kPrimaryHostConversionFailed, 1238, kError,                                                 \
      "the server domain could not be converted (primary host)")                                  \
    X(kSecondaryHostSet, 1628, kInfo, "secondary update host set from the policy")                \
    X(kPrimaryHostSet, 1629, kInfo, "primary update host set from the policy")                    \
    X(kAutoUpdateDisabledOn, 1613, kInfo, "policy: auto-update disabled")                         \
    X(kAutoUpdateDisabledOff, 1614, kInfo, "policy: auto-update not disabled")                    \
    X(kSilentAutoUpdateOn, 1615, kInfo, "policy: silent auto-update on")                          \
    X(kSilentAutoUpdateOff, 1616, kInfo, "policy: silent auto-update off")                        \
    /* Update cycle */                                                                            \
    X(kCycleStarted, 1608, kInfo, "update cycle started")                                         \
    X(kGaveUpSilentUpdate, 1301, kError, "seven installer starts counted: notify mode set")       \
    X(kActiveXInstallerStarted, 1609, kInfo, "ActiveX installer started")                         \
    X(kActiveXUpdateFailed, 1234, kError, "ActiveX update failed")                                \
    X(kPluginInstallerStarted, 1610, kInfo, "plug-in installer started")                          \
    X(kPluginUpdateFailed, 1300, kError, "plug-in update failed")                                 \
    X(kCycleEnded, 1612, kInfo, "update cycle ended")                                             \
    /* Update host client (manifest) */                                                           \
    X(kManifestSessionFailed, 1400, kWarning, "manifest: no WinHTTP session")                     \
    X(kManifestConnectFailed, 1401, kWarning, "manifest: no connection")                          \
    X(kManifestOpenRequestFailed, 1402, kWarning, "manifest: no request handle")                  \
    X(kManifestSendFailed, 1403, kWarning, "manifest: request not sent")                          \
    X(kManifestQueryDataFailed, 1404, kWarning, "manifest: data availability query failed")       \
    X(kManifestChunkAllocFailed, 1405, kWarning, "manifest: no memory for the body")              \
    X(kManifestReadFailed, 1406, kWarning, "manifest: read failed, chunk dropped")                \
    X(kManifestReceiveFailed, 1407, kWarning, "manifest: response not received")                  \
    X(kManifestFetchFailed, 1408, kWarning, "manifest: fetch failed")                             \
    /* Version manifest */                                                                        \
    X(kManifestUnusable, 1409, kWarning, "the fetched body is not a usable manifest")             \
    X(kManifestDocumentAllocFailed, 1410, kWarning, "manifest: no memory for the XML document")   \
    X(kManifestNoVersion, 1411, kWarning, "manifest: no top-level version element")               \
    X(kManifestResultAllocFailed, 1430, kWarning, "manifest: no memory for the result")           \
    X(kManifestMalformed, 1431, kWarning, "manifest: XML parse error")                            \
    X(kManifestActiveXAttributeMissing, 1434, kWarning, "manifest: ActiveX attribute missing")    \
    X(kManifestPluginAttributeMissing, 1435, kWarning, "manifest: Plugin attribute missing")      \
    X(kManifestFrequencyMissing, 1436, kWarning, "manifest: checkFrequency missing")              \
    X(kManifestNoActiveX, 1437, kWarning, "manifest: no ActiveX element")                         \
    X(kManifestNoPlugin, 1438, kWarning, "manifest: no Plugin element")                           \
    X(kManifestNoSAUConfig, 1439, kWarning, "manifest: no SAUConfig element")                     \
    /* Installer download */                                                                      \
    X(kActiveXDownloadStarted, 1600, kInfo, "ActiveX package download started")                   \
    X(kPluginDownloadStarted, 1601, kInfo, "plug-in package download started")                    \
    X(kUnknownFlavour, 1200, kError, "unknown player flavour")                                    \
    X(kPackageRequestFailed, 1214, kError, "package request could not be opened")                 \
    X(kTempPathFailed, 1201, kError, "no temporary folder")                                       \
    X(kGuidTextFailed, 1425, kWarning, "GUID could not be written as text")                       \
    X(kGuidFolderUnavailable, 1426, kWarning, "no GUID folder name, using a unique temp name")    \
    X(kTempFileNameFailed, 1203, kError, "no unique temporary name")                              \
    X(kTempFileDeleteFailed, 1205, kError, "the unique temporary file could not be deleted")      \
    X(kDownloadFolderFailed, 1206, kError, "the download folder could not be created")            \
    X(kPackageFileCreateFailed, 1207, kError, "the package file could not be created")            \
    X(kPackageQueryDataFailed, 1209, kError, "package: data availability query failed")           \
    X(kPackageChunkAllocFailed, 1210, kError, "package: no memory for a chunk")                   \
    X(kPackageReadFailed, 1211, kError, "package: read failed")                                   \
    X(kPackageWriteFailed, 1212, kError, "package: write to the package file failed")             \
    X(kPackageFileCloseFailed, 1413, kWarning, "the package file could not be closed")            \
    X(kPackageFileDeleteFailed, 1414, kWarning, "the package file could not be deleted")          \
    X(kDownloadFolderRemoveFailed, 1415, kWarning, "the download folder could not be removed")    \
    X(kPackageVerificationFailed, 1217, kError, "the package signature was not accepted")         \
    X(kInstallerFileCreateFailed, 1215, kError, "the installer file could not be created")        \
    X(kInstallerFileWriteFailed, 1216, kError, "the installer file could not be written")         \
    X(kInstallerFileCloseFailed, 1417, kWarning, "the installer file could not be closed")        \
    /* Installer launch */                                                                        \
    X(kInstallStateAllocFailed, 1236, kError, "no memory to install a flavour")                   \
    X(kCommandLineAllocFailed, 1235, kError, "no memory for the installer command line")          \
    X(kInstallerStarted, 1602, kInfo, "installer process created")                                \
    X(kInstallerStartFailed, 1218, kError, "the installer process could not be created")          \
    /* Service runtime */                                                                         \
    X(kDispatcherStarting, 1618, kInfo, "connecting to the service control manager")              \
    X(kDispatcherConnectFailed, 1619, kInfo, "not started by the service control manager")        \
    X(kDispatcherReturned, 1620, kInfo, "service dispatcher returned")                            \
    X(kControlHandlerFailed, 1240, kError, "the service control handler could not be registered") \
    X(kServiceMainEnded, 1621, kInfo, "service main ended")                                       \
    X(kControlReceived, 1622, kInfo, "service control received")                                  \
    X(kStopRequested, 1623, kInfo, "service stop requested")                                      \
    X(kNoUpdateContext, 1241, kError, "no update context when the service ran")                   \
    /* Service registration and control */                                                        \
    X(kInstallManagerFailed, 1219, kError, "install: service manager could not be opened")        \
    X(kCreateServiceFailed, 1220, kError, "install: the service could not be created")            \
    X(kServiceCreated, 1603, kInfo, "service created")                                            \
    X(kDescriptionManagerFailed, 1230, kError, "description: manager could not be opened")        \
    X(kDescriptionServiceFailed, 1231, kError, "description: service could not be opened")        \
    X(kDescriptionSetFailed, 1232, kError, "description could not be set")                        \
    X(kStartManagerFailed, 1221, kError, "start: manager could not be opened")                    \
    X(kStartServiceOpenFailed, 1222, kError, "start: service could not be opened")                \
    X(kStartRefused, 1223, kError, "start request refused")                                       \
    X(kStartAccepted, 1604, kInfo, "start request accepted")                                      \
    X(kStopManagerFailed, 1224, kError, "stop: manager could not be opened")                      \
    X(kStopServiceOpenFailed, 1225, kError, "stop: service could not be opened")                  \
    X(kStopRefused, 1226, kError, "stop control refused")                                         \
    X(kStopAccepted, 1605, kInfo, "stop control accepted")                                        \
    X(kRemoveManagerFailed, 1227, kError, "remove: manager could not be opened")                  \
    X(kRemoveServiceOpenFailed, 1228, kError, "remove: service could not be opened")              \
    X(kRemoveRefused, 1229, kError, "service deletion refused")                                   \
    X(kServiceMarkedForDeletion, 1606, kInfo, "service marked for deletion")                      \
    X(kExistsManagerFailed, 1302, kError, "exists: manager could not be opened")                  \
    X(kReconfigureManagerFailed, 1303, kError, "reconfigure: manager could not be opened")        \
    X(kReconfigureServiceOpenFailed, 1304, kError, "reconfigure: service could not be opened")    \
    X(kReconfigureRefused, 1427, kWarning, "service configuration change refused")                \
    /* Scheduled task, Task Scheduler 1.0 */                                                      \
    X(kV1ComInitFailed, 1243, kError, "task 1.0: COM could not be initialised")                   \
    X(kV1SchedulerFailed, 1242, kError, "task 1.0: no scheduler object")                          \
    X(kV1ActivateFailed, 1244, kError, "task 1.0: the task could not be opened")                  \
    X(kV1TriggerCountFailed, 1245, kError, "task 1.0 refresh: trigger count unreadable")          \
    X(kV1NoTrigger, 1246, kError, "task 1.0 refresh: the task has no trigger")                    \
    X(kV1GetTriggerFailed, 1247, kError, "task 1.0 refresh: first trigger unavailable")           \
    X(kV1ReadTriggerFailed, 1248, kError, "task 1.0 refresh: trigger record unreadable")          \
    X(kV1WriteTriggerFailed, 1249, kError, "task 1.0 refresh: trigger record not written")        \
    X(kV1RefreshPersistFailed, 1250, kError, "task 1.0 refresh: no IPersistFile")                 \
    X(kV1RefreshSaveFailed, 1251, kError, "task 1.0 refresh: the task could not be saved")        \
    X(kV1TaskRefreshed, 1624, kInfo, "task 1.0: existing task refreshed")                         \
    X(kV1NewWorkItemFailed, 1252, kError, "task 1.0 create: no work item")                        \
    X(kV1AccountFailed, 1253, kError, "task 1.0 create: account not set")                         \
    X(kV1CreateTriggerFailed, 1254, kError, "task 1.0 create: trigger not created")               \
    X(kV1CreatorFailed, 1421, kWarning, "task 1.0 create: creator not set")                       \
    X(kV1CommentFailed, 1422, kWarning, "task 1.0 create: comment not set")                       \
    X(kV1ApplicationFailed, 1423, kWarning, "task 1.0: program not set")                          \
    X(kV1FlagsFailed, 1424, kWarning, "task 1.0 create: flags not set")                           \
    X(kV1SetTriggerFailed, 1255, kError, "task 1.0 create: trigger record not written")           \
    X(kV1CreatePersistFailed, 1256, kError, "task 1.0 create: no IPersistFile")                   \
    X(kV1CreateSaveFailed, 1257, kError, "task 1.0 create: the task could not be saved")          \
    X(kV1TaskCreated, 1625, kInfo, "task 1.0: task created")                                      \
    /* Scheduled task, Task Scheduler 2.0 */                                                      \
    X(kV2ComInitFailed, 1258, kError, "task 2.0: COM could not be initialised")                   \
    X(kV2ComSecurityFailed, 1259, kError, "task 2.0: COM security not set")                       \
    X(kV2ServiceFailed, 1260, kError, "task 2.0: no scheduler object")                            \
    X(kV2ConnectFailed, 1261, kError, "task 2.0: connect failed")                                 \
    X(kV2FolderFailed, 1262, kError, "task 2.0: root folder unavailable")                         \
    X(kV2DefinitionFailed, 1263, kError, "task 2.0 refresh: definition unreadable")               \
    X(kV2RefreshTriggersFailed, 1264, kError, "task 2.0 refresh: no trigger collection")          \
    X(kV2TriggerCountFailed, 1265, kError, "task 2.0 refresh: trigger count unreadable")          \
    X(kV2NoTrigger, 1266, kError, "task 2.0 refresh: the task has no trigger")                    \
    X(kV2GetTriggerFailed, 1267, kError, "task 2.0 refresh: first trigger unavailable")           \
    X(kV2RefreshRepetitionFailed, 1268, kError, "task 2.0 refresh: no repetition pattern")        \
    X(kV2RefreshIntervalFailed, 1269, kError, "task 2.0 refresh: interval not set")               \
    X(kV2RefreshRegisterFailed, 1270, kError, "task 2.0 refresh: definition not registered")      \
    X(kV2TaskRefreshed, 1626, kInfo, "task 2.0: existing task refreshed")                         \
    X(kV2NewTaskFailed, 1271, kError, "task 2.0 create: no new definition")                       \
    X(kV2SettingsFailed, 1272, kError, "task 2.0 create: no settings")                            \
    X(kV2CompatibilityFailed, 1273, kError, "task 2.0 create: compatibility not set")             \
    X(kV2BatteriesFailed, 1274, kError, "task 2.0 create: battery setting not set")               \
    X(kV2NetworkFailed, 1275, kError, "task 2.0 create: network setting not set")                 \
    X(kV2RegistrationInfoFailed, 1276, kError, "task 2.0 create: no registration info")           \
    X(kV2AuthorFailed, 1277, kError, "task 2.0 create: author not set")                           \
    X(kV2DescriptionFailed, 1278, kError, "task 2.0 create: description not set")                 \
    X(kV2CreateTriggersFailed, 1279, kError, "task 2.0 create: no trigger collection")            \
    X(kV2CreateTriggerFailed, 1280, kError, "task 2.0 create: daily trigger not created")         \
    X(kV2DailyTriggerFailed, 1281, kError, "task 2.0 create: no IDailyTrigger")                   \
    X(kV2TriggerIdFailed, 1282, kError, "task 2.0 create: trigger id not set")                    \
    X(kV2StartBoundaryFailed, 1283, kError, "task 2.0 create: start boundary not set")            \
    X(kV2DaysIntervalFailed, 1284, kError, "task 2.0 create: day interval not set")               \
    X(kV2CreateRepetitionFailed, 1285, kError, "task 2.0 create: no repetition pattern")          \
    X(kV2DurationFailed, 1286, kError, "task 2.0 create: repetition duration not set")            \
    X(kV2CreateIntervalFailed, 1287, kError, "task 2.0 create: repetition interval not set")      \
    X(kV2ActionsFailed, 1288, kError, "task 2.0 create: no action collection")                    \
    X(kV2CreateActionFailed, 1289, kError, "task 2.0 create: action not created")                 \
    X(kV2ExecActionFailed, 1290, kError, "task 2.0 create: no IExecAction")                       \
    X(kV2PathFailed, 1291, kError, "task 2.0: program path not set")                              \
    X(kV2CreateRegisterFailed, 1292, kError, "task 2.0 create: definition not registered")        \
    X(kV2TaskCreated, 1627, kInfo, "task 2.0: task created")                                      \
    /* Scheduled task deletion */                                                                 \
    X(kDeleteV1ComInitFailed, 1294, kError, "task 1.0 delete: COM could not be initialised")      \
    X(kDeleteV1SchedulerFailed, 1293, kError, "task 1.0 delete: no scheduler object")             \
    X(kDeleteV2ComInitFailed, 1295, kError, "task 2.0 delete: COM could not be initialised")      \
    X(kDeleteV2ComSecurityFailed, 1296, kError, "task 2.0 delete: COM security not set")          \
    X(kDeleteV2ServiceFailed, 1297, kError, "task 2.0 delete: no scheduler object")               \
    X(kDeleteV2ConnectFailed, 1298, kError, "task 2.0 delete: connect failed")                    \
    X(kDeleteV2FolderFailed, 1299, kError, "task 2.0 delete: root folder unavailable")

#define VORLIX_DECLARE_LOG_CODE(name, number, level, meaning) \
    inline constexpr LogCode name{number, level, meaning};
VORLIX_LOG_CODES(VORLIX_DECLARE_LOG_CODE)
#undef VORLIX_DECLARE_LOG_CODE

// The whole table, for the log reader and for the table's own consistency test.
const LogCode* AllLogCodes(size_t* count);
// The entry of a number, or null when no code has it.
const LogCode* FindLogCode(int32_t number);
