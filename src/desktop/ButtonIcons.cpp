#include "desktop/ButtonIcons.h"

#include <QApplication>
#include <QProxyStyle>

namespace capzel::ui {

namespace {

bool iconsOn = false;

// The desktop's own style, asked about everything but the buttons' icons.
class ButtonIconStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return iconsOn ? 1 : 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

void setButtonIcons(bool on) {
    iconsOn = on;
    if (!dynamic_cast<const ButtonIconStyle*>(QApplication::style())) QApplication::setStyle(new ButtonIconStyle);
}

bool buttonIcons() { return iconsOn; }

}  // namespace capzel::ui
