// The main window's look: day, dusk and night palettes and the brightness steps.
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "ui/artwork.h"
#include "ui/data_viewer_dlg.h"
#include "ui/gauge_area.h"
#include "ui/picture_preparer.h"
#include "ui/touch_menus_dialog.h"
#include "ui/window_interaction.h"
#include "ui/window_look.h"

namespace pelor::ui {

display::Look CDataViewerDlg::WindowLook() const {
    const app::Settings& s = dashboard_->settings;
    return display::Look{display::PaletteFromNumber(s.palette),
                         display::BrightnessFromNumber(s.brightness)};
}

void CDataViewerDlg::ApplyStoredLook() {
    const display::Look look = WindowLook();
    ApplyWindowLook(look);
    canvas_.SetLook(look);
}

void CDataViewerDlg::SetLook(const display::Look& look) {
    app::Settings& s = dashboard_->settings;
    s.palette = static_cast<std::int32_t>(look.palette);
    s.brightness = display::BrightnessFromNumber(look.brightness);
    const display::Look applied = WindowLook();
    if (applied == CurrentLook() && applied == canvas_.GetLook()) return;
    ApplyWindowLook(applied);

    // The gauge pictures are made again in the new look: the background now, the strips as
    // the event loop turns (a paint that needs one sooner makes it then).
    canvas_.SetLook(applied);
    ApplyCanvasLayout(canvas_, dashboard_->display);
    picturePreparer_->Prepare(LayoutStripNames(dashboard_->display));

    buttonPictures_ = BuildButtonPictures();
    for (QPushButton* b : buttons_) {
        const QString picture = b->property("pictureName").toString();
        if (!picture.isEmpty()) ShowPicture(b->property("controlId").toInt(), picture);
    }
    interaction_->LookChanged();
    RequestRepaint();
}

bool CDataViewerDlg::LookCommand(int controlId) {
    display::Look look = WindowLook();
    switch (controlId) {
        case kIdTouchNight:
            look.palette = display::NextPalette(look.palette);
            break;
        case kIdTouchDimmer:
            look.brightness = std::max(1, look.brightness - 1);
            break;
        case kIdTouchBrighter:
            look.brightness = std::min(display::kBrightnessSteps, look.brightness + 1);
            break;
        default:
            return false;
    }
    SetLook(look);
    return true;
}

bool CDataViewerDlg::LookKey(const QKeyEvent& event) {
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0)
        return false;
    // The keys do what the touch menu's look buttons do.
    switch (event.key()) {
        case Qt::Key_N:
            return LookCommand(kIdTouchNight);
        case Qt::Key_Minus:
            return LookCommand(kIdTouchDimmer);
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return LookCommand(kIdTouchBrighter);
        default:
            return false;
    }
}

}  // namespace pelor::ui
