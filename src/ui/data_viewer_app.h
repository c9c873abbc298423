#pragma once
// The application object: sets the look, runs the main window modally, ends with it.
#include <string>

namespace pelor::ui {

class CDataViewerApp {
public:
    // The program's own dialog palette: black with the instrument's green-cyan text. Set on
    // the running application; the night look starts from it.
    static void ApplyPalette();

    // Always false: the program ends when the main window closes.
    bool InitInstance();

    // A project to open for this run in place of the saved one (a full path; empty: none).
    std::string projectForThisRun;
    // The program's exit status once InitInstance returned: 2 when start-up ended it (no
    // usable project), else 0.
    int exitStatus = 0;
};

}  // namespace pelor::ui
