#include "ui/windows/NameLengthValidator.h"

#include <algorithm>

#include "records/SavedGame.h"

namespace capzel::ui {

namespace {

bool pairAt(const QString& text, qsizetype i) {
    return i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate();
}

// The UTF-16 index where character `chars` (counted from 0) begins, or the
// text's size when it has no more characters.
qsizetype unitsOf(const QString& text, qsizetype chars) {
    qsizetype i = 0;
    for (; i < text.size() && chars > 0; --chars) i += pairAt(text, i) ? 2 : 1;
    return i;
}

}  // namespace

NameLengthValidator::NameLengthValidator(QObject* parent) : NameLengthValidator(saveLimits::kMaxNameLength, parent) {}

NameLengthValidator::NameLengthValidator(std::size_t maxChars, QObject* parent)
    : QValidator(parent), maxChars_(qsizetype(maxChars)) {}

QValidator::State NameLengthValidator::validate(QString& text, int& pos) const {
    const qsizetype fits = unitsOf(text, maxChars_);
    if (fits == text.size()) return Acceptable;
    qsizetype excess = 0;  // characters beyond the limit
    for (qsizetype i = fits; i < text.size(); ++excess) i += pairAt(text, i) ? 2 : 1;

    qsizetype end = std::clamp<qsizetype>(pos, 0, text.size());
    if (end > 0 && pairAt(text, end - 1)) ++end;  // never between the halves of a pair
    qsizetype start = end;
    for (; excess > 0 && start > 0; --excess) start -= start > 1 && pairAt(text, start - 2) ? 2 : 1;
    text.remove(start, end - start);
    pos = int(start);
    if (excess > 0) {
        text.truncate(unitsOf(text, maxChars_));
        pos = std::min(pos, int(text.size()));
    }
    return Acceptable;
}

}  // namespace capzel::ui
