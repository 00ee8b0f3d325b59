// What every engine's run shares: opening the storages the caller left closed, the first
// error among engine, input and output, and a plain copy of a run of bytes.
#pragma once

#include "compress/storage.h"

namespace alengine {

// Opens the input for reading and creates the output unless the caller opened them, and
// closes only what it opened.
class OpenedStorages {
public:
    OpenedStorages(ALStorage& input, ALStorage& output)
        : mInput(input), mOutput(output), mbInput(!input.IsOpen()), mbOutput(!output.IsOpen())
    {
        if (mbInput) input.Open();
        if (mbOutput) output.Create();
    }
    void Close()
    {
        if (mbInput) mInput.Close();
        if (mbOutput) mOutput.Close();
        mbInput = mbOutput = false;
    }
    ~OpenedStorages() { Close(); }
    OpenedStorages(const OpenedStorages&) = delete;
    OpenedStorages& operator=(const OpenedStorages&) = delete;

private:
    ALStorage& mInput;
    ALStorage& mOutput;
    bool mbInput;
    bool mbOutput;
};

// The first error among the engine's, the input's and the output's, copied to the engine.
inline int Outcome(ALStatus& engine, const ALStorage& input, const ALStorage& output)
{
    if (engine < 0) return engine;
    if (input.mStatus < 0) engine = input.mStatus;
    else if (output.mStatus < 0) engine = output.mStatus;
    return engine;
}

// Copies count bytes (-1: up to the end of the input); false when the output refused them.
bool CopyBytes(ALStorage& input, ALStorage& output, long count);

} // namespace alengine
