// A player's name box holds at most saveLimits::kMaxNameLength characters,
// counted as a saved game counts them: Unicode code points. QLineEdit's own
// limit counts UTF-16 units and would stop a name of emoji at half of it.
// Another limit serves other lines a person types (a chat line).
#pragma once

#include <QValidator>
#include <cstddef>

namespace capzel::ui {

class NameLengthValidator : public QValidator {
public:
    explicit NameLengthValidator(QObject* parent = nullptr);
    NameLengthValidator(std::size_t maxChars, QObject* parent);

    // A text that is too long loses the characters just before the cursor
    // (what was typed or pasted), the cursor staying where they began, so
    // that an insertion is cut to what fits as a length limit cuts it; when
    // those are not enough, the end goes. A surrogate pair is kept or
    // dropped whole. Every text is then acceptable.
    State validate(QString& text, int& pos) const override;

private:
    qsizetype maxChars_;
};

}  // namespace capzel::ui
