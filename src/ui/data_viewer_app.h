#pragma once
// The application object: sets the look, runs the main window modally, ends with it.
namespace pelor::ui {

class CDataViewerApp {
public:
    // Always false: the program ends when the main window closes.
    bool InitInstance();
};

}  // namespace pelor::ui
