// Contact list costs: loading a whole contact list as Skype reports it after
// attaching (a status, then the full name, for every contact), and a status
// change in a loaded list. The conversion counter shows that a name is turned
// into its sort key once per change, never per comparison.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "skype/contact_list.h"

namespace {

struct ContactSource {
    std::string handle;
    std::string name;
    const char* status;
};

// Deterministic contacts: Latin and Traditional Chinese names, some alike but
// for case, statuses across the whole table.
std::vector<ContactSource> MakeContacts(size_t count) {
    static const char* const kSyllables[] = {"an", "Bo", "chen", "Li", "mei", "Wang", "\xE7\x8E\x8B",
                                             "\xE6\x9D\x8E", "\xE5\xBC\xB5", "\xE9\x99\xB3", "zh", "Yu"};
    std::mt19937 random(2024);
    std::vector<ContactSource> contacts;
    contacts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        std::string name;
        for (int syllable = 0; syllable < 3; ++syllable) name += kSyllables[random() % std::size(kSyllables)];
        contacts.push_back({"live:user." + std::to_string(random()), name + " " + std::to_string(i % 97),
                            skype::kStatusTexts[random() % std::size(skype::kStatusTexts)]});
    }
    return contacts;
}

void Load(skype::CContactList& list, const std::vector<ContactSource>& contacts) {
    for (const ContactSource& c : contacts) {
        list.UpdateContactStatus(c.handle, c.status);
        list.UpdateContactName(c.handle, c.name);
    }
}

void BM_LoadContacts(benchmark::State& state) {
    const auto contacts = MakeContacts(static_cast<size_t>(state.range(0)));
    const uint64_t conversionsBefore = skype::ContactNameConversions();
    for (auto _ : state) {
        skype::CContactList list;
        Load(list, contacts);
        benchmark::DoNotOptimize(list.Count());
    }
    const double loaded = static_cast<double>(state.iterations()) * static_cast<double>(contacts.size());
    state.SetItemsProcessed(static_cast<int64_t>(loaded));
    state.counters["time_per_contact"] =
        benchmark::Counter(loaded, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["conversions_per_contact"] =
        static_cast<double>(skype::ContactNameConversions() - conversionsBefore) / loaded;
}
BENCHMARK(BM_LoadContacts)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A contact going online and back in a loaded list: no conversion, two
// moves between groups.
void BM_StatusChangeInLoadedList(benchmark::State& state) {
    const auto contacts = MakeContacts(static_cast<size_t>(state.range(0)));
    skype::CContactList list;
    Load(list, contacts);
    const uint64_t conversionsBefore = skype::ContactNameConversions();
    size_t next = 0;
    for (auto _ : state) {
        const std::string& handle = contacts[next++ % contacts.size()].handle;
        list.UpdateContactStatus(handle, "ONLINE");
        list.UpdateContactStatus(handle, "OFFLINE");
    }
    const double changes = 2.0 * static_cast<double>(state.iterations());
    state.SetItemsProcessed(static_cast<int64_t>(changes));
    state.counters["conversions_per_change"] =
        static_cast<double>(skype::ContactNameConversions() - conversionsBefore) / changes;
}
BENCHMARK(BM_StatusChangeInLoadedList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
