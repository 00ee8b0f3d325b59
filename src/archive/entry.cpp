#include "archive/entry.h"

#include "archive/name.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <new>
#include <unordered_map>

void ALTimeDate::SetFromDos(unsigned time, unsigned date)
{
    miDate = (int)(date & 31);
    miMonth = (int)((date >> 5) & 15) - 1;
    miYear = (int)((date >> 9) & 127) + 80;
    miHour = (int)((time >> 11) & 31);
    miMinute = (int)((time >> 5) & 63);
    miSecond = (int)(time & 31) * 2;
}

long ALTimeDate::GetUnixTime() const
{
    if (miMonth < 0 || miMonth > 11 || miDate < 1) return -1;
    std::tm t{};
    t.tm_year = miYear;
    t.tm_mon = miMonth;
    t.tm_mday = miDate;
    t.tm_hour = miHour;
    t.tm_min = miMinute;
    t.tm_sec = miSecond;
    t.tm_isdst = -1;
    return (long)std::mktime(&t);
}

void ALFileAttributes::SetFromDos(unsigned long attributes)
{
    mbReadOnly = attributes & 0x01;
    mbHidden = attributes & 0x02;
    mbSystem = attributes & 0x04;
    mbVolume = attributes & 0x08;
    mbDirectory = attributes & 0x10;
    mbArchive = attributes & 0x20;
}

// ALEntry

ALEntry::~ALEntry() = default;

const char* ALEntry::GetName() const
{
    return mpStorage ? mpStorage->GetName() : "";
}

void ALEntry::SetStorage(ALStorage* storage)
{
    mpStorage.reset(storage);
    mbKitStorage = false;
}

// ALEntryList

ALEntryList::ALEntryList(ALMonitor* monitor, ALToolKit toolKit) : mpMonitor(monitor), mToolKit(std::move(toolKit)) {}

ALEntryList::~ALEntryList() = default;

ALEntry* ALEntryList::NewEntry()
{
    try {
        if (mEntries.size() == mEntries.capacity()) mEntries.reserve(std::max<size_t>(32, mEntries.size() * 2));
        std::unique_ptr<ALEntry> entry(new ALEntry);
        if (!mEntries.empty()) mEntries.back()->mpNext = entry.get();
        mEntries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return mEntries.back().get();
}

int ALEntryList::SetMarkState(const char* pattern, short state)
{
    int count = 0;
    for (const auto& entry : mEntries) {
        const ALStorage* storage = entry->GetStorage();
        if (pattern && !ALName(entry->GetName(), storage ? storage->GetNameCase() : AL_MIXED).WildCardMatch(pattern))
            continue;
        if (state) entry->SetMark();
        else entry->ClearMark();
        ++count;
    }
    return count;
}

namespace {

std::string Folded(const char* name)
{
    std::string s = name;
    for (auto& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

} // namespace

int ALEntryList::UnmarkDuplicates(ALEntryList& list, const char* message)
{
    // Marked entries of the other list by exact name and by name without case, so that the
    // whole pass stays linear however many names repeat.
    std::unordered_map<std::string, int> exact, folded;
    for (const auto& other : list.mEntries) {
        if (!other->GetMark()) continue;
        ++exact[other->GetName()];
        ++folded[Folded(other->GetName())];
    }
    const bool self = &list == this;
    int count = 0;
    for (const auto& entry : mEntries) {
        if (!entry->GetMark()) continue;
        ALStorage* storage = entry->GetStorage();
        bool keepCase = storage && storage->GetNameCase() == AL_KEEP_CASE;
        std::string exactKey = entry->GetName();
        std::string foldedKey = Folded(entry->GetName());
        auto& counts = keepCase ? exact : folded;
        auto found = counts.find(keepCase ? exactKey : foldedKey);
        int others = found == counts.end() ? 0 : found->second - (self ? 1 : 0);
        if (others <= 0) continue;
        entry->ClearMark();
        ++count;
        if (self) {
            --exact[exactKey];
            --folded[foldedKey];
        }
        if (message && storage) storage->mStatus.SetError(AL_DUPLICATE_ENTRY, "%s", message);
    }
    return count;
}

int ALEntryList::DeleteUnmarked()
{
    size_t kept = 0;
    for (auto& entry : mEntries)
        if (entry->GetMark()) mEntries[kept++] = std::move(entry);
    int deleted = (int)(mEntries.size() - kept);
    mEntries.resize(kept);
    for (size_t i = 0; i < mEntries.size(); ++i) mEntries[i]->mpNext = i + 1 < mEntries.size() ? mEntries[i + 1].get() : nullptr;
    return deleted;
}
