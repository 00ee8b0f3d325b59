// Placeholder so that the condensed design links before the reader lands (cndread).
#include "design/cnd.h"

CCnd::CCnd() = default;
long CCnd::GetMaxNoStitches(const char*) { return -1; }
int CCnd::ImportFile(const char*, int*, COLORCHG*, long*, tagPOINT*, unsigned char*) { return 0; }
int CCnd::ExportFile(const char*, int, COLORCHG*, long, tagPOINT*, unsigned char*) { return 0; }
int CCnd::ImportFile(const char*, CCndObject*) { return 0; }
int CCnd::GetNextMark1(tagPOINT&) { return 0; }
int CCnd::LoadSatinStitch(CCndObject*, short&) { return 0; }
int CCnd::LoadFillStitch(CCndObject*) { return 0; }
int CCnd::LoadCFillStitch(CCndObject*) { return 0; }
int CCnd::TranslateNumber(int) { return 0; }
tagPOINT CCnd::TranslateCords(int, int, int) { return tagPOINT{0, 0}; }
int CCnd::TranslateAngle(int) { return 0; }
