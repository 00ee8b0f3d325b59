#include "kwfilter.h"
int main() { return 0; }
