#pragma once
// The NMEA TAGS page: twelve rows "NMEA 0" .. "NMEA 11", each a sentence choice and a value
// choice refilled when the sentence changes, and the time settings (UTC offset, three
// tachometer hour counters, date and time). The tags are kept in the page file: when the
// sheet ends with OK (or PREFSAVE) after they changed, they are written into its NMEA row.
// PREFSAVE also asks for the labels file, which holds the time settings, to be written when
// the sheet ends, as the LABELS page's does. The page says so under its rows.
#include <array>

#include "prefs/nmea_tags_page.h"
#include "ui/prefs_page.h"

class QComboBox;
class QSpinBox;

namespace pelor::ui {

class CNMEATags : public PrefsPage {
    Q_OBJECT

public:
    CNMEATags(PrefsContext context, QWidget* parent);
    void Refresh() override;

    QComboBox* SentenceBox(int tag) const { return sentences_[static_cast<std::size_t>(tag)]; }
    QComboBox* ValueBox(int tag) const { return values_[static_cast<std::size_t>(tag)]; }

private:
    void FillValues(int tag);

    std::array<QComboBox*, prefs::kNmeaTagCount> sentences_{};
    std::array<QComboBox*, prefs::kNmeaTagCount> values_{};
    QSpinBox* utc_ = nullptr;
    std::array<std::array<QSpinBox*, 6>, 3> tach_{};
    std::array<QSpinBox*, 6> date_{};  // month, day, year, hour, minute, seconds
};

}  // namespace pelor::ui
