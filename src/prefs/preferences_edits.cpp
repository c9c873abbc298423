#include "prefs/preferences_edits.h"

#include <tuple>

namespace pelor::prefs {
namespace {

// The fields of each row type, to compare rows whole.
auto Fields(const NmeaTag& t) {
    return std::tie(t.sentence, t.value);
}
auto Fields(const ChannelInputRow& r) {
    return std::tie(r.number, r.nmea);
}
auto Fields(const ChannelOutputRow& r) {
    return std::tie(r.number, r.mode);
}
auto Fields(const AlarmDisplay& a) {
    return std::tie(a.low, a.high, a.invert, a.action, a.relayMap);
}
auto Fields(const N2kRow& r) {
    return std::tie(r.instance, r.pgn, r.parameter, r.number, r.source, r.enabled);
}
auto Fields(const tables::TachometerSetting& t) {
    return std::tie(t.digits, t.flag);
}
auto DateFields(const tables::NmeaTimeSettings& t) {
    return std::tie(t.seconds, t.minute, t.hour, t.day, t.month, t.middle, t.year, t.dateFlag);
}

// `fresh` (from the new file) becomes the edited value when the user changed it.
template <typename T>
void Take(T& fresh, const T& opened, const T& edited) {
    if (!(edited == opened)) fresh = edited;
}

template <typename T, std::size_t N>
void TakeEach(std::array<T, N>& fresh, const std::array<T, N>& opened,
              const std::array<T, N>& edited) {
    for (std::size_t i = 0; i < N; ++i) Take(fresh[i], opened[i], edited[i]);
}

template <typename Row, std::size_t N>
void TakeRows(std::array<Row, N>& fresh, const std::array<Row, N>& opened,
              const std::array<Row, N>& edited) {
    for (std::size_t i = 0; i < N; ++i) {
        if (Fields(edited[i]) != Fields(opened[i])) fresh[i] = edited[i];
    }
}

void TakeTime(tables::NmeaTimeSettings& fresh, const tables::NmeaTimeSettings& opened,
              const tables::NmeaTimeSettings& edited) {
    Take(fresh.utcOffset, opened.utcOffset, edited.utcOffset);
    TakeRows(fresh.tachometers, opened.tachometers, edited.tachometers);
    if (DateFields(edited) != DateFields(opened)) {
        const tables::NmeaTimeSettings& e = edited;
        std::tie(fresh.seconds, fresh.minute, fresh.hour, fresh.day, fresh.month, fresh.middle,
                 fresh.year, fresh.dateFlag) = DateFields(e);
    }
}

}  // namespace

PreferencesCopies EditsOverReloadedTables(const PreferencesCopies& opened,
                                          const PreferencesCopies& edited,
                                          const tables::ProjectTables& loaded,
                                          ReloadedTables reloaded, int displayScale) {
    PreferencesCopies c = edited;
    if (reloaded.labels) {
        LabelsPage fresh = LabelsPageFrom(loaded.labelSettings);
        const LabelsPage& o = opened.labels;
        const LabelsPage& e = edited.labels;
        TakeEach(fresh.labels, o.labels, e.labels);
        TakeEach(fresh.kanteloLabels, o.kanteloLabels, e.kanteloLabels);
        TakeEach(fresh.symbolCodes, o.symbolCodes, e.symbolCodes);
        TakeEach(fresh.powerOn, o.powerOn, e.powerOn);
        Take(fresh.powerOnReset, o.powerOnReset, e.powerOnReset);
        fresh.saveRequested = e.saveRequested;
        c.labels = fresh;

        tables::NmeaTimeSettings time = loaded.labelSettings.time;
        TakeTime(time, opened.nmeaTags.time, edited.nmeaTags.time);
        c.nmeaTags.time = time;

        // The HTTP post address is kept in the labels file.
        std::string http = loaded.labelSettings.httpPostAddress;
        Take(http, opened.options.httpPostAddress, edited.options.httpPostAddress);
        c.options.httpPostAddress = http;
    }
    if (reloaded.pages) {
        const NmeaTagsPage fresh = NmeaTagsPageFrom(loaded.pages, loaded.labelSettings);
        c.nmeaTags.tags = fresh.tags;
        TakeRows(c.nmeaTags.tags, opened.nmeaTags.tags, edited.nmeaTags.tags);
    }
    if (reloaded.options) {
        const tables::OptionsTable& t = loaded.options;
        OptionsPage fresh = OptionsPageFromTable(t, displayScale, c.options.httpPostAddress);
        TakeEach(fresh.fields, opened.options.fields, edited.options.fields);
        // Bytes the page keeps without showing them (the adapter list among them).
        TakeEach(fresh.table, opened.options.table, edited.options.table);
        c.options = fresh;

        c.channels = kChannelsSection.fromOptions(t);
        TakeRows(c.channels.inputs, opened.channels.inputs, edited.channels.inputs);
        TakeRows(c.channels.outputs, opened.channels.outputs, edited.channels.outputs);
        c.alarms = kAlarmsSection.fromOptions(t);
        TakeRows(c.alarms.displays, opened.alarms.displays, edited.alarms.displays);
        c.n2kTags = N2kTagsFromOptions(t);
        TakeRows(c.n2kTags.rows, opened.n2kTags.rows, edited.n2kTags.rows);
        c.pulses = PulseInputsFromOptions(t);
    }
    return c;
}

bool NmeaTagsChanged(const NmeaTagsPage& opened, const NmeaTagsPage& edited) {
    for (std::size_t n = 0; n < opened.tags.size(); ++n) {
        if (Fields(opened.tags[n]) != Fields(edited.tags[n])) return true;
    }
    return false;
}

}  // namespace pelor::prefs
