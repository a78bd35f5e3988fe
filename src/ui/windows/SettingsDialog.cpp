#include "ui/windows/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/windows/GameHost.h"

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
      size_(choices(this, "size", {}, QStringLiteral("The size of the main window and the status window"))),
      soundEffects_(check(this, "soundEffects", QStringLiteral("On"))),
      effectsVolume_(percentSlider(this, "effectsVolume", QStringLiteral("Volume of the sound effects"))),
      musicVolume_(percentSlider(this, "musicVolume", QStringLiteral("Volume of the music"))),
      musicMuted_(check(this, "musicMuted", QStringLiteral("Mute"))),
      aimLine_(choices(this, "aimLine", {QStringLiteral("Classic"), QStringLiteral("Bold")},
                       QStringLiteral("Bold: a thick bright line with an arrow showing where the piece will go"))),
      barPace_(choices(this, "barPace", {QStringLiteral("Classic"), QStringLiteral("Steady")},
                       QStringLiteral("Steady: the power bar fills at half speed, for every player at the table"))) {
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

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    showKept();
    for (QComboBox* box : {ruleMessages_, size_, aimLine_, barPace_})
        connect(box, &QComboBox::currentIndexChanged, this, &SettingsDialog::apply);
    for (QCheckBox* box : {soundEffects_, musicMuted_}) connect(box, &QCheckBox::toggled, this, &SettingsDialog::apply);
    for (QSlider* slider : {effectsVolume_, musicVolume_})
        connect(slider, &QSlider::valueChanged, this, &SettingsDialog::apply);
}

void SettingsDialog::showKept() {
    const PlayerSettings& kept = host_.settings();
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
    return s;
}

void SettingsDialog::apply() {
    if (showing_) return;
    effectsVolume_->setEnabled(soundEffects_->isChecked());
    musicVolume_->setEnabled(!musicMuted_->isChecked());
    host_.setSettings(chosen());
}

}  // namespace capzel::ui
