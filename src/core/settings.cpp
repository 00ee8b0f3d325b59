#include "core/settings.h"

#include "platform/message.h"

CKwFilter::CKwFilter() : m_strErrorLog(GetTempDirectory() + "/error.log") {}

CKwFilter* GetSetup()
{
    static CKwFilter setup;
    return &setup;
}
