#pragma once
// The main window's record button and its picture pairs, named "<normal>_<pressed>".
namespace pelor::logs {

inline constexpr int kRecordButtonId = 1004;
inline constexpr const char* kRecordTooltip = "Data Log - click to start recording or playback";
// Recording or playing back: "RECORDD" normal, "RECORDU" pressed.
inline constexpr const char* kRecordActivePicture = "RECORDD_RECORDU";
// Idle: "RECORDU" normal, "RECORDD" pressed.
inline constexpr const char* kRecordIdlePicture = "RECORDU_RECORDD";

}  // namespace pelor::logs
