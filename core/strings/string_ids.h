#pragma once

// Named ids of the string table entries (English id; the Chinese text sits on the same line of
// resources/strings.tsv). Every id named here must exist in both languages; a test checks it.
namespace norvik::ids {

// Value texts of the channel fields and common words.
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

// Main window menus.
inline constexpr int MenuFile = 1000;
inline constexpr int MenuFileNew = 1001;
inline constexpr int MenuFileOpen = 1002;
inline constexpr int MenuFileSave = 1003;
inline constexpr int MenuFileSaveAs = 1004;
inline constexpr int MenuFileExit = 1006;
inline constexpr int MenuModel = 1007;
inline constexpr int MenuModelInfo = 1008;
inline constexpr int MenuEdit = 1009;
inline constexpr int MenuEditCopy = 1037;
inline constexpr int MenuEditPaste = 1038;
inline constexpr int MenuEditClear = 1039;
inline constexpr int MenuEditDelete = 1065;
inline constexpr int MenuProgram = 1015;
inline constexpr int MenuProgramOptionalFeatures = 1010;
inline constexpr int MenuProgramKeyAssignment = 1011;
inline constexpr int MenuProgramTuning = 1690;
inline constexpr int MenuProgramAdvanced = 1054;
inline constexpr int MenuProgramDeviation = 1042;
inline constexpr int MenuProgramRadio = 1033;
inline constexpr int MenuProgramEmbeddedMessage = 1014;
inline constexpr int MenuTransfer = 1057;
inline constexpr int MenuTransferRead = 1016;
inline constexpr int MenuTransferWrite = 1017;
inline constexpr int MenuSetup = 1021;
inline constexpr int MenuSetupAlternateGui = 1058;
inline constexpr int MenuSetupSingleClick = 1059;
inline constexpr int MenuSetupManual = 1060;
inline constexpr int MenuSetupComPort = 1022;
inline constexpr int MenuSetupLanguage = 1023;
inline constexpr int MenuSetupEnglish = 1035;
inline constexpr int MenuSetupChinese = 1036;
inline constexpr int MenuView = 1061;
inline constexpr int MenuViewStatus = 1063;
inline constexpr int MenuViewButtons = 1062;
inline constexpr int MenuViewColumns = 1064;
inline constexpr int MenuHelp = 1024;
inline constexpr int MenuHelpAbout = 1026;

// Toolbar tooltips (Copy, Paste and Clear share the Edit menu texts) and the button column.
inline constexpr int TipNew = 1027;
inline constexpr int TipOpen = 1028;
inline constexpr int TipSave = 1029;
inline constexpr int TipRead = 1031;
inline constexpr int TipWrite = 1032;
inline constexpr int TipAbout = 1034;
inline constexpr int ChannelUp = 1711;
inline constexpr int ChannelDown = 1712;
inline constexpr int InsertChannel = 1713;
inline constexpr int DeleteChannel = 1714;
inline constexpr int ClearChannel = 1715;
inline constexpr int InsertLosesLastChannel = 1710;

// Channel grid column headers (the same words label the alternate panel and the column dialog).
inline constexpr int HeaderChannel = 1239;
inline constexpr int HeaderRxFreq = 1200;
inline constexpr int HeaderTxFreq = 1202;
inline constexpr int HeaderDecode = 1211;
inline constexpr int HeaderEncode = 1212;
inline constexpr int HeaderTxPower = 1213;
inline constexpr int HeaderScanAdd = 1219;
inline constexpr int HeaderWidthNarrow = 1216;
inline constexpr int HeaderName = 1708;
inline constexpr int HeaderBcl = 1254;
inline constexpr int HeaderPttId = 1181;
inline constexpr int HeaderVox = 1253;
inline constexpr int HeaderOption = 1222;
inline constexpr int HeaderScrambler = 1725;
inline constexpr int HeaderOffset = 1240;
inline constexpr int HeaderDuplex = 1416;
inline constexpr int HeaderMore = 1660;

// Alternate panel labels that are not column headers.
inline constexpr int OptionSignal = 1233;
inline constexpr int SignalType = 1664;
inline constexpr int AutoResponse = 1180;

// About box: title word, then the four lines of its label.
inline constexpr int AboutTitle = 1334;
inline constexpr int AboutProgram = 1323;
inline constexpr int AboutFor = 1324;
inline constexpr int AboutVersion = 1325;
inline constexpr int AboutRelease = 1326;

// File commands.
inline constexpr int AllDataCleared = 1112;
inline constexpr int FileModified = 1113;
inline constexpr int IncorrectFileType = 1114;

// Clone transfer: confirmations, captions, log lines, status panel texts, questions.
inline constexpr int ReadFromRadioQuestion = 1120;
inline constexpr int WriteToRadioQuestion = 1121;
inline constexpr int WriteToRadioCaption = 1122;
inline constexpr int ReadFromRadioCaption = 1120; // same text as the question
inline constexpr int ContinueQuestion = 1123;
inline constexpr int CompletionPercentage = 1124;
inline constexpr int LogOpeningPort = 1125;
inline constexpr int LogTransferringBlocks = 1126;
inline constexpr int LogTimeout = 1127;
inline constexpr int LogPortClosed = 1128;
inline constexpr int ReadingCompleted = 1129;
inline constexpr int WritingCompleted = 1130;
inline constexpr int StatusTransferring = 1131;
inline constexpr int StatusError = 1132;
inline constexpr int StatusComplete = 1133;
inline constexpr int RetryQuestion = 1134;
inline constexpr int FrequencyRangeChanged = 1135;
inline constexpr int CannotOpenPort = 1136;

// Serial port dialog.
inline constexpr int ComPortCaption = 1140;
inline constexpr int ComPortStem = 1141;

// Transfer outcomes and port errors that go beyond the radio's own texts.
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

// Service login and service window.
inline constexpr int LoginCaption = 1150;
inline constexpr int LoginPassword = 1151;
inline constexpr int WrongPassword = 1152;
inline constexpr int ServiceCaption = 1160;
inline constexpr int ServiceRead = 1031;
inline constexpr int ServiceWrite = 1032;
inline constexpr int ServiceClose = 1046;
inline constexpr int ServiceApply = 1161;
inline constexpr int ServiceTreeRoot = 1162;
inline constexpr int ServiceFreqSet = 1163;
inline constexpr int ServiceGain = 1164;
inline constexpr int ServiceTuning = 1165;
inline constexpr int NowReading = 1166;
inline constexpr int NowWriting = 1167;
inline constexpr int ApplyChangesQuestion = 1168;
inline constexpr int DataChangedQuestion = 1169;
inline constexpr int TailCode = 1170;
inline constexpr int Deviation = 1171;

// Service window pages: gain labels and lists, fine values, tuning grids, band limits.
inline constexpr int CompandWide = 1800;
inline constexpr int CompandNarrow = 1801;
inline constexpr int DiscInputGain = 1802;
inline constexpr int AudioOutputGain = 1803;
inline constexpr int MicInputGain = 1804;
inline constexpr int ModOutputGain = 1805;
inline constexpr int Mute = 1806;
inline constexpr int FineOutputGain = 1807; // the seven fine value labels follow in box order
inline constexpr int FineOutputGainAudio = 1808;
inline constexpr int OutputOffsetAudio = 1809;
inline constexpr int FineOutputGainMod = 1810;
inline constexpr int OutputOffsetMod = 1811;
inline constexpr int ToneTxLevel = 1812;
inline constexpr int FineOutputGainModCompand = 1813;
inline constexpr int Power = 1814;
inline constexpr int Mid = 1815;
inline constexpr int Sensitivity = 1816;
inline constexpr int LimitMin = 1817;
inline constexpr int LimitMax = 1818;
inline constexpr int Mhz = 1819;
inline constexpr int TxUnable = 1820;
inline constexpr int ServiceValuesRead = 1821;      // the undo step of a service link read
inline constexpr int LinkRefused = 1822;            // %1 how many times
inline constexpr int ServiceSettingsApplied = 1823; // the undo step of an Apply of every page

// Optional features window.
inline constexpr int OptionalFeaturesCaption = 1400;
inline constexpr int OptionsSave = 1669;
inline constexpr int OptionsReset = 1667;
inline constexpr int OptionsClose = 1046;
inline constexpr int MainSet = 1679;
inline constexpr int FunctionSetting = 1680;
inline constexpr int PttIdSetting = 1681;
inline constexpr int CommonSet = 1665;
inline constexpr int SquelchLevel = 1408;
inline constexpr int TimeOutTimer = 1404;
inline constexpr int SecondsTot = 1699;
inline constexpr int Seconds = 1451;
inline constexpr int ScanModes = 1430;
inline constexpr int ScanTime = 1447;
inline constexpr int ScanSeek = 1456;
inline constexpr int Chord = 1473;
inline constexpr int BatterySave = 1415;
inline constexpr int BeepTone = 1414;
inline constexpr int RogerTime = 1434;
inline constexpr int Lamp = 1435;
inline constexpr int ChannelDisplay = 1440;
inline constexpr int Frequency = 1206;
inline constexpr int Name = 1247;
inline constexpr int VoxGain = 1431;
inline constexpr int VoxDelay = 1432;
inline constexpr int VoxInhibitOnReceive = 1433;
inline constexpr int VoxLevel = 1628; // English only
inline constexpr int MessageMode = 1436;
inline constexpr int PowerOn = 1443;
inline constexpr int PowerOnDc = 1454;
inline constexpr int PowerOnMsg = 1455;
inline constexpr int PowerOnMessage = 1439;
inline constexpr int CancelCodeSquelchOnPtt = 1472;
inline constexpr int InhibitReceiverWhenWorking = 1437;
inline constexpr int RelayTransfer = 1701;
inline constexpr int TotPenalty = 1726;
inline constexpr int Manual = 1647;
inline constexpr int Step = 1246;
inline constexpr int Band = 1682;
inline constexpr int SideTone = 1047;
inline constexpr int DigitDelay = 1666;
inline constexpr int AutoResetTimer = 1528;
inline constexpr int DigitTime = 1532;
inline constexpr int InterDigitTime = 1533;
inline constexpr int FirstDigitTime = 1503;
inline constexpr int Num = 1048;
inline constexpr int CallList = 1049;
inline constexpr int FastCallList = 1050;
inline constexpr int Code = 1051;
inline constexpr int Ani = 1419;
inline constexpr int Tone = 1695;
inline constexpr int GapTime = 1696;
inline constexpr int DecoderCallFormat = 1697;
inline constexpr int GroupCall = 1698;
inline constexpr int AlertTranspond = 1460;
inline constexpr int Alert = 1461;
inline constexpr int Transpond = 1462;
inline constexpr int ToneStandard = 1464;
inline constexpr int RespondWaitingTime = 1677;
inline constexpr int FixDigit = 1700;
inline constexpr int FiveToneStandard = 1785;

// Small dialogs.
inline constexpr int EmbeddedMessageCaption = 1316;
inline constexpr int RadioCaption = 1453;
inline constexpr int RadioChannel = 1205;
inline constexpr int VisibleColumnsCaption = 1716;
inline constexpr int SelectAll = 1066;
inline constexpr int Inverse = 1067;
// Names the memory map's OK in the undo history (the window's own captions stay English).
inline constexpr int MemoryMapChange = 1840;

// File commands and transfers: what the user is told to do when a save, an open or a port fails.
inline constexpr int SaveFailed = 1717; // %1 the file, %2 the system's reason
inline constexpr int IncorrectFileTypeHint = 1718;
inline constexpr int SimulatedRadio = 1719;
inline constexpr int ConnectionLost = 1720; // %1 the system's reason
inline constexpr int WritingStopped = 1721;
// Message box buttons beside Ok and Cancel.
inline constexpr int Yes = 1722;
inline constexpr int No = 1723;
inline constexpr int Retry = 1724;

// Files that cannot be read or written as asked.
inline constexpr int NotARegularFile = 1730;
inline constexpr int SameInputAndOutput = 1731; // %1 the file
inline constexpr int NoBinaryToTerminal = 1732;

// Undo and Redo, and the names of the changes they take back or do again.
inline constexpr int MenuEditUndo = 1750;
inline constexpr int MenuEditRedo = 1751;
inline constexpr int MenuEditUndoNamed = 1752; // %1 the change's name
inline constexpr int MenuEditRedoNamed = 1753; // %1 the change's name
inline constexpr int ChangeCellEdit = 1754;
inline constexpr int ChangePaste = 1755;
inline constexpr int ChangeClear = 1756;
inline constexpr int ChangeInsert = 1757;
inline constexpr int ChangeDelete = 1758;
inline constexpr int ChangeMoveUp = 1759;
inline constexpr int ChangeMoveDown = 1760;
inline constexpr int ChangeManual = 1761;
inline constexpr int ChangePanelEdit = 1762;

// Channel lists: CSV import and export, print and PDF.
inline constexpr int MenuFileImportCsv = 1860;
inline constexpr int MenuFileExportCsv = 1861;
inline constexpr int MenuFilePrint = 1862;
inline constexpr int MenuFileExportPdf = 1863;
inline constexpr int TipPrint = 1864;
inline constexpr int ChangeCsvImport = 1865;
inline constexpr int ReplaceAllChannels = 1866;
inline constexpr int PreviewNow = 1867;
inline constexpr int PreviewAfterImport = 1868;
inline constexpr int LinesNotImported = 1869;   // %1 how many
inline constexpr int ChannelsThatChange = 1870; // %1 how many
inline constexpr int CsvLine = 1871;            // %1 the line, %2 why it is not taken
inline constexpr int CsvNoChannelColumn = 1872;
inline constexpr int CsvDuplicateColumn = 1873;  // %1 the column
inline constexpr int CsvUnknownColumn = 1874;    // %1 the column
inline constexpr int CsvBadChannel = 1875;       // %1 the cell
inline constexpr int CsvDuplicateChannel = 1876; // %1 the channel, %2 its first line
inline constexpr int CsvBadFrequency = 1877;     // %1 the column, %2 the cell
inline constexpr int CsvOutOfBand = 1878;        // %1 the column, %2 the cell
inline constexpr int CsvUnknownTone = 1879;      // %1 the column, %2 the cell
inline constexpr int CsvUnknownValue = 1880;     // %1 the column, %2 the cell, %3 the entries
inline constexpr int CsvNameTooLong = 1881;      // %1 the name
inline constexpr int CsvNameCharacter = 1882;    // %1 the name
inline constexpr int CsvCellCount = 1883;        // %1 cells on the line, %2 in the header
inline constexpr int CsvUnclosedQuote = 1884;
inline constexpr int CsvEmptyWithoutRx = 1885; // %1 the channel
inline constexpr int CsvTxMismatch = 1886;     // %1 TX Freq, %2 Offset Freq, %3 Duplex
inline constexpr int PageOfPages = 1887;       // %1 the page, %2 how many
inline constexpr int ChannelListTitle = 1888;
inline constexpr int CsvTooLarge = 1889; // %1 the limit in KB

// One-line reasons for a port that failed among several, and the choice of any serial device.
inline constexpr int FailureNoAnswer = 1890;
inline constexpr int FailureNoIdentification = 1891;
inline constexpr int FailureNoAnswerAt = 1892;   // %1 = block address
inline constexpr int FailureRefusedWrite = 1893; // %1 = block address
inline constexpr int FailureWrongAnswer = 1894;  // %1 = block address
inline constexpr int FailureRangeDiffers = 1895;
inline constexpr int FailureConnectionLost = 1896; // %1 = the system's reason
inline constexpr int OtherDevice = 1897;
inline constexpr int OtherDevicePlaceholder = 1898;

// Reading a write back, and the differences between two images.
inline constexpr int LogVerifyStart = 1910;
inline constexpr int VerifyPercent = 1911; // %1 = percent
inline constexpr int StatusVerifying = 1912;
inline constexpr int Verified = 1913;
inline constexpr int LogNotVerified = 1914;
inline constexpr int LogNotChecked = 1915;
inline constexpr int StatusNotVerified = 1916;
inline constexpr int MenuSetupVerify = 1917;
inline constexpr int VerifyAhead = 1918;
inline constexpr int DiffChannel = 1919; // %1 channel, %2 column, %3 old, %4 new
inline constexpr int DiffSetting = 1920; // %1 name, %2 old, %3 new
inline constexpr int DiffByte = 1921;    // %1 address
inline constexpr int DiffBytes = 1922;   // %1 first, %2 last address
inline constexpr int DiffEmpty = 1923;
inline constexpr int BandLimitsName = 1924;
inline constexpr int MenuFileCompare = 1925;
inline constexpr int CompareTitle = 1926; // %1 the file
inline constexpr int CompareSame = 1927;
inline constexpr int CompareCount = 1928;  // %1 how many
inline constexpr int VerifyDiffers = 1929; // %1 how many
inline constexpr int VerifyNotChecked = 1930;
inline constexpr int DiffMore = 1931;        // %1 how many
inline constexpr int FailureReadBack = 1932; // %1 why

inline constexpr int ReadOverUnsavedEdits = 1933;
// Reading a service write back; transfer and port failures said exactly.
inline constexpr int LogLinkVerifyStart = 1945;
inline constexpr int DiffServiceRow = 1946;      // %1 row, %2 first, %3 last address
inline constexpr int LinkVerifyDiffers = 1947;   // %1 the rows
inline constexpr int RadioRefusedWriteAt = 1948; // %1 block address
inline constexpr int RadioWrongAnswerAt = 1949;  // %1 block address
inline constexpr int PortNameTooLong = 1950;     // %1 = port
inline constexpr int PortNotSerial = 1951;       // %1 = port
// What the command-line tool says as it goes.
inline constexpr int CsvImportTook = 1952;    // %1 channels changed, %2 lines refused
inline constexpr int TransferProgress = 1953; // %1 each port and its percentage
// Saving over a file changed by somebody else, and a setting that could not be stored.
inline constexpr int FileChangedOnDisk = 1960; // %1 the file
inline constexpr int OverwriteAnswer = 1961;
inline constexpr int SaveAsAnswer = 1962;
inline constexpr int LanguageNotStored = 1963; // %1 where the settings are kept
inline constexpr int CsvRounded = 1964;        // %1 the column, %2 the cell, %3 the frequency taken
inline constexpr int CsvRoundedCell = 1965;    // %1 the cell, %2 the frequency taken
inline constexpr int CsvUtf16File = 1975;
inline constexpr int CsvMoreRefused = 1976; // %1 how many
inline constexpr int MenuFileRecent = 1985;
inline constexpr int RecentFileGone = 1986; // %1 the file
inline constexpr int SavedNotice = 1987;    // %1 the file
inline constexpr int MenuHelpContents = 1988;
inline constexpr int AccessibleOptionPages = 1989;
inline constexpr int AccessibleIncrease = 1990; // %1 the field
inline constexpr int AccessibleDecrease = 1991; // %1 the field
inline constexpr int BandLimitsInForce = 1992;  // %1 the bands, "136–174, 400–470"
inline constexpr int AccessibleZoom = 1993;
inline constexpr int AccessiblePage = 1994;
inline constexpr int DiffNone = 1995;

// Editing many channels at once.
inline constexpr int ChangePasteChannels = 3000;
inline constexpr int ChangeClearChannels = 3001;
inline constexpr int ChangeDeleteChannels = 3002;
inline constexpr int ChangeInsertChannels = 3003;
inline constexpr int ChangeSetColumn = 3004;
inline constexpr int MenuEditCut = 3005;
inline constexpr int MenuEditSelectAll = 3006;
inline constexpr int ChannelsSelected = 3007;    // %1 how many
inline constexpr int PasteOverwrites = 3008;     // %1 how many, %2 the first channel
inline constexpr int PasteDoesNotFit = 3009;     // %1 how many, %2 the channel, %3 the last that fits
inline constexpr int InsertLosesChannels = 3010; // %1 how many
inline constexpr int DeleteChannelsAsk = 3011;   // %1 how many
inline constexpr int SetColumnRefused = 3012;    // %1 the channels
inline constexpr int ClipboardNoChannels = 3013;
inline constexpr int ChangeFill = 3014;
inline constexpr int ChangeSort = 3015;
inline constexpr int MenuEditFill = 3016;
inline constexpr int MenuEditSortRx = 3017;
inline constexpr int MenuEditSortName = 3018;
inline constexpr int MenuEditFind = 3019;
inline constexpr int MenuEditFindNext = 3020;
inline constexpr int FindNothing = 3021; // %1 the text
inline constexpr int FillStart = 3022;
inline constexpr int FillStep = 3023;
inline constexpr int FillTransmit = 3024;
inline constexpr int FillTxOff = 3025;
inline constexpr int FillTxPlus = 3026;
inline constexpr int FillTxMinus = 3027;
inline constexpr int FillTxFixed = 3028;
inline constexpr int FillOffsetOrTx = 3029;
inline constexpr int FillCount = 3030;
inline constexpr int FillPreview = 3031; // %1 first RX, %2 its channel, %3 last RX, %4 its channel
inline constexpr int FillRefused = 3032; // %1 the channels
inline constexpr int FindPrompt = 3033;
inline constexpr int FillNotNumbers = 3034;
inline constexpr int ImageHeld = 3035;
// Backups.
inline constexpr int BackupReadAhead = 3100;
inline constexpr int BackupProgress = 3101;   // %1 the percentage
inline constexpr int BackupKept = 3102;       // %1 the backup's path
inline constexpr int BackupNotWritten = 3103; // %1 why
inline constexpr int MenuSetupBackup = 3104;
inline constexpr int BackupFolderUnusable = 3105;   // %1 the folder, %2 why
inline constexpr int BackupBeforeSaveFailed = 3106; // %1 the file, %2 why
inline constexpr int BackupUnsavedFailed = 3107;    // %1 why
inline constexpr int BackupWriteNote = 3108;
inline constexpr int MenuFileBackups = 3110;
inline constexpr int BackupsTitle = 3111;
inline constexpr int BackupsTime = 3112;
inline constexpr int BackupsOrigin = 3113;
inline constexpr int BackupsSize = 3114;
inline constexpr int BackupsOpen = 3115;
inline constexpr int BackupsCompare = 3116;
inline constexpr int BackupsShowFolder = 3117;
inline constexpr int BackupsClose = 3118;
inline constexpr int BackupOriginRadio = 3119;   // %1 the port, %2 the identification
inline constexpr int BackupOriginFile = 3120;    // %1 the file
inline constexpr int BackupOriginUnsaved = 3121; // %1 the document
inline constexpr int BackupsSummary = 3122;      // %1 how many, %2 the size, %3 the folder
inline constexpr int BackupsKeepDays = 3123;
inline constexpr int BackupsNone = 3124;
inline constexpr int BackupCannotOpen = 3125; // %1 why
// Several radios at once and the transfer history.
inline constexpr int MenuTransferWriteSeveral = 3200;
inline constexpr int MenuTransferReadSeveral = 3201;
inline constexpr int MenuTransferHistory = 3202;
inline constexpr int SeveralWriteTitle = 3203;
inline constexpr int SeveralReadTitle = 3204;
inline constexpr int ColumnPort = 3205;
inline constexpr int ColumnProgress = 3206;
inline constexpr int ColumnPhase = 3207;
inline constexpr int ColumnResult = 3208;
inline constexpr int ColumnTime = 3209;
inline constexpr int SeveralStart = 3210;
inline constexpr int SeveralStartAgain = 3211;
inline constexpr int SeveralRetry = 3212;
inline constexpr int SeveralCancel = 3213;
inline constexpr int SeveralCancelAll = 3214;
inline constexpr int SeveralClose = 3215;
inline constexpr int PhaseBackingUp = 3216;
inline constexpr int PhaseWriting = 3217;
inline constexpr int PhaseVerifying = 3218;
inline constexpr int PhaseReading = 3219;
inline constexpr int ResultVerified = 3220;
inline constexpr int ResultDiffers = 3221; // %1 what differs
inline constexpr int ResultFailed = 3222;  // %1 why
inline constexpr int ResultCancelled = 3223;
inline constexpr int ResultCompleted = 3224;
inline constexpr int ResultSavedAs = 3225; // %1 the file
inline constexpr int SeveralNoneChecked = 3226;
inline constexpr int SeveralChooseFolder = 3227;
inline constexpr int PhaseWaiting = 3228;
inline constexpr int SeveralFolder = 3229;
inline constexpr int HistoryNotWritten = 3230; // %1 the file, %2 why
inline constexpr int HistoryTitle = 3231;
inline constexpr int ColumnOperation = 3232;
inline constexpr int ColumnRadio = 3233;
inline constexpr int ColumnDataFile = 3234;
inline constexpr int ColumnChecksum = 3235;
inline constexpr int ColumnDuration = 3236;
inline constexpr int ColumnBackup = 3237;
inline constexpr int HistoryExportCsv = 3238;
inline constexpr int HistoryRead = 3239;
inline constexpr int HistoryWrite = 3240;
inline constexpr int HistoryServiceRead = 3241;
inline constexpr int HistoryServiceWrite = 3242;
inline constexpr int HistoryNotRead = 3243; // %1 the file, %2 why
inline constexpr int SeveralStillRunning = 3244;
inline constexpr int SecondsShort = 3245; // %1 the seconds
inline constexpr int SeveralWriteNote = 3246;
inline constexpr int SeveralReadNote = 3247;        // %1 the folder
inline constexpr int SimulatedRadioNumbered = 3248; // %1 its number
inline constexpr int HistoryExported = 3249;        // %1 the file
inline constexpr int SeveralPorts = 3250;
inline constexpr int SeveralRangeDiffers = 3251;

} // namespace norvik::ids
