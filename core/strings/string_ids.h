#pragma once

// Named ids of the string table entries that core itself uses (English id; Chinese = id + 1000).
namespace norvik::ids {

inline constexpr int On = 1100;
inline constexpr int Off = 1101;
inline constexpr int Ok = 1102;
inline constexpr int Cancel = 1103;
inline constexpr int None = 1104;
inline constexpr int Auto = 1105;
inline constexpr int IncorrectFileType = 1110;
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

} // namespace norvik::ids
