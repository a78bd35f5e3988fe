#include "ui/windows/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/windows/GameHost.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

namespace {

QComboBox* choices(QWidget* parent, const char* name, const QStringList& items, const QString& tip) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    box->setToolTip(tip);
    return box;
}

QSlider* percentSlider(QWidget* parent, const char* name, const QString& tip) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(0, 100);
    slider->setSingleStep(5);
    slider->setPageStep(10);
    slider->setToolTip(tip);
    return slider;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A slider with its switch in front of it on one row.
QWidget* row(QWidget* parent, QCheckBox* first, QSlider* second) {
    auto* w = new QWidget(parent);
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first);
    layout->addWidget(second, 1);
    return w;
}

}  // namespace

SettingsDialog::SettingsDialog(GameHost& host, QWidget* parent)
    : QDialog(parent),
      host_(host),
      ruleMessages_(choices(this, "ruleMessages", {QStringLiteral("Boxes"), QStringLiteral("On the field")},
                            QStringLiteral("Boxes: each message of the rules waits for OK.\n"
                                           "On the field: a banner over the field that never stops the game;\n"
                                           "a message goes when the next aim starts or when it is clicked."))),
      size_(choices(this, "size", {}, QStringLiteral("The size of every window of the game"))),
      soundEffects_(check(this, "soundEffects", QStringLiteral("On"))),
      effectsVolume_(percentSlider(this, "effectsVolume", QStringLiteral("Volume of the sound effects"))),
      musicVolume_(percentSlider(this, "musicVolume", QStringLiteral("Volume of the music"))),
      musicMuted_(check(this, "musicMuted", QStringLiteral("Mute"))),
      aimLine_(choices(this, "aimLine", {QStringLiteral("Classic"), QStringLiteral("Bold")},
                       QStringLiteral("Bold: a thick bright line with an arrow showing where the piece will go"))),
      barPace_(choices(this, "barPace", {QStringLiteral("Classic"), QStringLiteral("Steady")},
                       QStringLiteral("Steady: the power bar fills at half speed, for every player at the table"))),
      fieldHints_(check(this, "fieldHints", QStringLiteral("&Rings and outlines on the field"))),
      statusMarks_(check(this, "statusMarks", QStringLiteral("Marks in the &status window"))),
      endChart_(check(this, "endChart", QStringLiteral("&Chart at the end of a game"))),
      buttonIcons_(check(this, "buttonIcons", QStringLiteral("&Icons on buttons"))) {
    setObjectName(QStringLiteral("settingsDialog"));
    setWindowTitle(QStringLiteral("Settings"));
    for (const int percent : kSizeChoices) size_->addItem(QStringLiteral("%1 %").arg(percent), percent);
    soundEffects_->setToolTip(QStringLiteral("Sounds when pieces hit, land in their target, kill and win"));
    musicMuted_->setToolTip(QStringLiteral("No music"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rule &messages:"), ruleMessages_);
    form->addRow(QStringLiteral("Si&ze:"), size_);
    form->addRow(QStringLiteral("Sound &effects:"), row(this, soundEffects_, effectsVolume_));
    form->addRow(QStringLiteral("M&usic volume:"), row(this, musicMuted_, musicVolume_));
    form->addRow(QStringLiteral("&Aim line:"), aimLine_);
    form->addRow(QStringLiteral("Power &bar pace:"), barPace_);

    fieldHints_->setToolTip(QStringLiteral("Between shots the piece whose turn it is is ringed and the box it must reach "
                                           "is outlined;\na killer's prey get dashed rings (also Extras > Show Hints)"));
    statusMarks_->setToolTip(QStringLiteral("In Game Status: an arrow at the player whose turn it is, the names of "
                                            "players who are out struck through,\nand in an online game who is connected"));
    endChart_->setToolTip(QStringLiteral("When a game ends, a chart of every player's score and course position, shot by shot"));
    buttonIcons_->setToolTip(QStringLiteral("Icons beside the captions of OK, Cancel, Yes and No"));
    auto* helpers = new QGroupBox(QStringLiteral("Helpers"), this);
    helpers->setObjectName(QStringLiteral("helpers"));
    helpers->setToolTip(QStringLiteral("Additions to the classic game, each off until you turn it on"));
    auto* helperList = new QVBoxLayout(helpers);
    for (QCheckBox* box : {fieldHints_, statusMarks_, endChart_, buttonIcons_}) helperList->addWidget(box);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(helpers);
    layout->addWidget(buttons);

    showKept();
    for (QComboBox* box : {ruleMessages_, size_, aimLine_, barPace_})
        connect(box, &QComboBox::currentIndexChanged, this, &SettingsDialog::apply);
    for (QCheckBox* box : {soundEffects_, musicMuted_, fieldHints_, statusMarks_, endChart_, buttonIcons_})
        connect(box, &QCheckBox::toggled, this, &SettingsDialog::apply);
    for (QSlider* slider : {effectsVolume_, musicVolume_})
        connect(slider, &QSlider::valueChanged, this, &SettingsDialog::apply);
}

// A size at which the main window would not fit the screen is not offered:
// its item is greyed and says why.
void SettingsDialog::offerSizes() {
    auto* items = qobject_cast<QStandardItemModel*>(size_->model());
    const int largest = host_.largestSizePercent();
    for (int i = 0; i < size_->count(); ++i) {
        const int percent = size_->itemData(i).toInt();
        QStandardItem* item = items ? items->item(i) : nullptr;
        if (!item) continue;
        const bool fits = percent <= largest;
        item->setEnabled(fits);
        const QSize need = host_.windowNeedAt(percent);
        item->setToolTip(fits ? QString()
                              : QStringLiteral("Too large for this screen: the main window would need %1 × %2 pixels")
                                    .arg(need.width())
                                    .arg(need.height()));
    }
    const int kept = host_.settings().sizePercent;
    size_->setToolTip(kept > largest ? QStringLiteral("The size of every window of the game. %1 % is too large for "
                                                      "this screen: the windows are shown at %2 %.")
                                           .arg(kept)
                                           .arg(largest)
                                     : QStringLiteral("The size of every window of the game"));
}

void SettingsDialog::showKept() {
    const PlayerSettings& kept = host_.settings();
    zoomFont(*this, host_.windowZoom());
    offerSizes();
    showing_ = true;
    ruleMessages_->setCurrentIndex(int(kept.ruleMessages));
    size_->setCurrentIndex(std::max(0, size_->findData(kept.sizePercent)));
    soundEffects_->setChecked(kept.soundEffects);
    effectsVolume_->setValue(kept.effectsVolume);
    effectsVolume_->setEnabled(kept.soundEffects);
    musicVolume_->setValue(kept.musicVolume);
    musicVolume_->setEnabled(!kept.musicMuted);
    musicMuted_->setChecked(kept.musicMuted);
    aimLine_->setCurrentIndex(int(kept.aimLine));
    barPace_->setCurrentIndex(int(kept.barPace));
    fieldHints_->setChecked(kept.fieldHints);
    statusMarks_->setChecked(kept.statusMarks);
    endChart_->setChecked(kept.endChart);
    buttonIcons_->setChecked(kept.buttonIcons);
    showing_ = false;
}

PlayerSettings SettingsDialog::chosen() const {
    PlayerSettings s = host_.settings();
    s.ruleMessages = PlayerSettings::RuleMessages(ruleMessages_->currentIndex());
    s.sizePercent = size_->currentData().toInt();
    s.soundEffects = soundEffects_->isChecked();
    s.effectsVolume = effectsVolume_->value();
    s.musicVolume = musicVolume_->value();
    s.musicMuted = musicMuted_->isChecked();
    s.aimLine = PlayerSettings::AimLine(aimLine_->currentIndex());
    s.barPace = PlayerSettings::BarPace(barPace_->currentIndex());
    s.fieldHints = fieldHints_->isChecked();
    s.statusMarks = statusMarks_->isChecked();
    s.endChart = endChart_->isChecked();
    s.buttonIcons = buttonIcons_->isChecked();
    return s;
}

void SettingsDialog::apply() {
    if (showing_) return;
    effectsVolume_->setEnabled(soundEffects_->isChecked());
    musicVolume_->setEnabled(!musicMuted_->isChecked());
    host_.setSettings(chosen());
}

}  // namespace capzel::ui
