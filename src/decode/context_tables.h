#pragma once
// Points a ChannelContext at the tables the decoders read: calibration, label strings and
// label table, options, and the page bytes that place each channel (mode and cell). The one
// place that wires these pointers, for the dashboard, the tools and the test rigs alike.
#include "decode/channel_context.h"
#include "tables/project_tables.h"
#include "tables/table_types.h"

namespace pelor::decode {

inline void AttachTables(ChannelContext& context, const tables::CalibrationTables& calibration,
                         LabelStrings& labelStrings, const tables::LabelTable& labelTable,
                         const tables::OptionsTable& options, const PageBytes& labelMode,
                         const PageBytes& labelCell) {
    context.calibration = &calibration;
    context.labelStrings = &labelStrings;
    context.labelTable = &labelTable;
    context.options = &options;
    context.labelMode = &labelMode;
    context.labelCell = &labelCell;
}

// The same from a project's loaded tables; the page bytes are kept by the caller (they are
// taken out of the page table for the page on show).
inline void AttachTables(ChannelContext& context, tables::ProjectTables& project,
                         const PageBytes& labelMode, const PageBytes& labelCell) {
    AttachTables(context, project.calibration, project.labelSettings.LabelStrings, project.labels,
                 project.options, labelMode, labelCell);
}

}  // namespace pelor::decode
