#pragma once

// Named ids of the string table entries that core itself uses (English id; Chinese = id + 1000).
namespace norvik::ids {

inline constexpr int On = 1100;
inline constexpr int Off = 1101;
inline constexpr int Ok = 1102;
inline constexpr int Cancel = 1103;
inline constexpr int None = 1104;
inline constexpr int Auto = 1105;
inline constexpr int FileNotSaved = 1111;
inline constexpr int Low = 1214;
inline constexpr int High = 1215;
inline constexpr int Del = 1217;
inline constexpr int Add = 1218;
inline constexpr int Wide = 1220;
inline constexpr int Narrow = 1221;
inline constexpr int Compand = 1223;
inline constexpr int Scramble = 1224;
inline constexpr int Both = 1225;
inline constexpr int Carrier = 1226;
inline constexpr int Plus = 1227;
inline constexpr int Minus = 1228;
inline constexpr int FrequencyOutOfRange = 1229;
inline constexpr int Msk = 1230;
inline constexpr int TwoTone = 1052;
inline constexpr int FiveTone = 1053;
inline constexpr int Dtmf = 1500;
inline constexpr int Bot = 1661;
inline constexpr int Eot = 1662;

// Transfer (clone) texts.
inline constexpr int ReadDataFromRadio = 1260;
inline constexpr int WriteDataToRadioConfirm = 1261;
inline constexpr int DoYouWishToContinue = 1262;
inline constexpr int WriteDataToRadio = 1263;
inline constexpr int CompletionPercentage = 1264;
inline constexpr int OpeningPort = 1265;
inline constexpr int TransferingDataBlocks = 1266;
inline constexpr int TimeoutWaitingForBlocks = 1267;
inline constexpr int PortClosed = 1268;
inline constexpr int ReadingCompleted = 1269;
inline constexpr int WritingCompleted = 1270;
inline constexpr int StatusTransfering = 1271;
inline constexpr int StatusError = 1272;
inline constexpr int StatusComplete = 1273;
inline constexpr int RetryOrCancel = 1274;
inline constexpr int FrequencyRangeChanged = 1275;
inline constexpr int CannotOpenPort = 1276;
inline constexpr int CommunicationPort = 1277;
inline constexpr int ComStem = 1278;
inline constexpr int WritingCancelled = 1279;
inline constexpr int StatusCancelled = 1280;
inline constexpr int ReadingCancelled = 1281;
inline constexpr int PortPermissionDenied = 1282; // %1 = port
inline constexpr int PortNotFound = 1283;         // %1 = port
inline constexpr int PortBusy = 1284;             // %1 = port
inline constexpr int PortOpenFailed = 1285;       // %1 = port, %2 = system text
inline constexpr int WarningTitle = 1286;
inline constexpr int ErrorTitle = 1287;
inline constexpr int NotARawImage = 1288;    // %1 = file
inline constexpr int CannotReadFile = 1289;  // %1 = file
inline constexpr int CannotWriteFile = 1290; // %1 = file
inline constexpr int RadioDidNotAnswer = 1291;

} // namespace norvik::ids
