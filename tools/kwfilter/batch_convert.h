// Many designs at once: kwfilter convert IN... --to EXT [--out DIR] [--jobs N].
#pragma once

// True when the arguments ask for a batch (they name a target format with --to).
bool IsBatchConvert(int argc, char** argv);
int RunBatchConvert(int argc, char** argv);
