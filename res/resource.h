#pragma once
// Resource ids: dialog templates, the icon group and the controls of each
// template. Control ids are unique within their template only.

inline constexpr int IDR_MAINFRAME = 128;        // icon group
inline constexpr int IDD_GENERATOR_DIALOG = 102; // main window
inline constexpr int IDD_STRING_PAGE = 129;
inline constexpr int IDD_NUMBER_PAGE = 130;
inline constexpr int IDD_TIME_PAGE = 131;

namespace idc {

namespace main {
inline constexpr int description = 1000;
inline constexpr int tab = 1001;
inline constexpr int about = 1031;
} // namespace main

namespace string {
inline constexpr int upper = 1002;       // isUCase
inline constexpr int lower = 1003;       // isLCase
inline constexpr int digits = 1004;      // isNum
inline constexpr int hanzi = 1007;       // isHz
inline constexpr int head = 1005;
inline constexpr int lenMin = 1015;
inline constexpr int lenMax = 1016;
inline constexpr int tail = 1006;
inline constexpr int count = 1017;
inline constexpr int insert = 1008;      // insertStr
inline constexpr int charSpec = 1009;
inline constexpr int useCharSpec = 1014; // isCharSpec
inline constexpr int charExclude = 1013;
inline constexpr int useCharEx = 1018;   // isCharEx
inline constexpr int output = 1010;
inline constexpr int generate = 1011;
inline constexpr int exportText = 1012;
} // namespace string

namespace number {
inline constexpr int isInt = 1018;
inline constexpr int isFloat = 1019;
inline constexpr int rangeMin = 1020;
inline constexpr int rangeMax = 1021;
inline constexpr int count = 1022;
inline constexpr int output = 1026;
inline constexpr int generate = 1024;
inline constexpr int exportText = 1025;
inline constexpr int decimals = 1023;
} // namespace number

namespace time {
inline constexpr int isProgram = 1014;
inline constexpr int program = 1013;  // fileProgram
inline constexpr int minDelay = 1007;
inline constexpr int maxDelay = 1009;
inline constexpr int count = 1008;    // count_time
inline constexpr int output = 1027;
inline constexpr int generate = 1028;
inline constexpr int exportText = 1029;
} // namespace time

} // namespace idc
