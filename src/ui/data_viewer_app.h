#pragma once
// The application object: sets the look, runs the main window modally, ends with it.
namespace pelor::ui {

class CDataViewerApp {
public:
    // The program's own dialog palette: black with the instrument's green-cyan text. Set on
    // the running application; the night look starts from it.
    static void ApplyPalette();

    // Always false: the program ends when the main window closes.
    bool InitInstance();
};

}  // namespace pelor::ui
