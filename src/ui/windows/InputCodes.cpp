#include "ui/windows/InputCodes.h"

namespace capzel::ui {

namespace {

struct KeyRow {
    int qtKey;
    int vk;
};

// Keys whose code is not a plain letter, digit or function key.
constexpr KeyRow kKeys[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},         {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},     {Qt::Key_Return, 13},     {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},     {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},     {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},    {Qt::Key_Space, 32},      {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},  {Qt::Key_End, 35},        {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},      {Qt::Key_Up, 38},         {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},      {Qt::Key_Select, 41},     {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},    {Qt::Key_Delete, 46},     {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},      {Qt::Key_Super_L, 91},    {Qt::Key_Super_R, 92},
    {Qt::Key_Menu, 93},      {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145},
    // Shifted digits of a US keyboard: the key is the digit's key.
    {Qt::Key_Exclam, '1'},   {Qt::Key_At, '2'},        {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},   {Qt::Key_Percent, '5'},   {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},{Qt::Key_Asterisk, '8'},  {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    // Punctuation keys, plain and shifted, at their US-layout codes.
    {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},        {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},        {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},       {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},        {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},  {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},   {Qt::Key_QuoteDbl, 222},
};

// The keypad's own codes (the keypad flag is set on these keys).
constexpr KeyRow kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
    {Qt::Key_Enter, 13},     {Qt::Key_Return, 13},
};

}  // namespace

int virtualKey(int qtKey, bool keypad) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
        for (const KeyRow& r : kKeypad)
            if (r.qtKey == qtKey) return r.vk;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // 65..90
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;  // 48..57
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
    for (const KeyRow& r : kKeys)
        if (r.qtKey == qtKey) return r.vk;
    return 0;
}

int shiftSet(Qt::KeyboardModifiers modifiers) {
    int s = 0;
    if (modifiers & Qt::ShiftModifier) s |= kShiftBit;
    if (modifiers & Qt::ControlModifier) s |= kCtrlBit;
    if (modifiers & Qt::AltModifier) s |= kAltBit;
    return s;
}

int keyShiftSet(int qtKey, Qt::KeyboardModifiers modifiers) {
    int s = shiftSet(modifiers);
    if (qtKey == Qt::Key_Shift) s |= kShiftBit;
    if (qtKey == Qt::Key_Control) s |= kCtrlBit;
    if (qtKey == Qt::Key_Alt) s |= kAltBit;
    return s;
}

int buttonSet(Qt::MouseButtons buttons) {
    int b = 0;
    if (buttons & Qt::LeftButton) b |= kLeftButtonBit;
    if (buttons & Qt::RightButton) b |= kRightButtonBit;
    if (buttons & Qt::MiddleButton) b |= kMiddleButtonBit;
    return b;
}

}  // namespace capzel::ui
