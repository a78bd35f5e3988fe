#include "ui/online/JoinOnlineDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include "protocol/Messages.h"
#include "ui/online/OnlineEntries.h"
#include "ui/windows/NameLengthValidator.h"

namespace capzel::ui {

namespace {

// A room's code as typed: upper case, no spaces, at most its length.
class RoomCodeValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int& pos) const override {
        // A whole invitation pasted here is taken apart by the dialog.
        if (readInvitation(text)) return Acceptable;
        const qsizetype before = text.size();
        text = text.toUpper().remove(QLatin1Char(' ')).left(qsizetype(protocol::kRoomCodeLength));
        pos = int(std::min<qsizetype>(pos - (before - text.size()), text.size()));
        pos = std::max(pos, 0);
        return Acceptable;
    }
};

// A found game's address as typed in the address box: host:port.
QString hostPort(const network::LanGame& g) {
    QString host = g.address.toString();
    if (g.address.protocol() == QAbstractSocket::IPv6Protocol) host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("%1:%2").arg(host).arg(g.port);
}

// How a found game reads in the list: its name and host, open seats, address.
QString gameLine(const network::LanGame& g) {
    return QStringLiteral("%1 on %2 — %3 open seat%4 — %5")
        .arg(g.gameName, g.hostName)
        .arg(g.openSeats)
        .arg(g.openSeats == 1 ? QString() : QStringLiteral("s"), hostPort(g));
}

}  // namespace

JoinOnlineDialog::JoinOnlineDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("JoinOnlineDialog"));
    setWindowTitle(QStringLiteral("Join Online Game"));

    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("addressEdit"));
    address_->setPlaceholderText(QStringLiteral("host:port, ws://host:port or an invitation"));
    address_->setToolTip(QStringLiteral("The server's address, or the whole invitation a friend sent\n"
                                        "(http://host:port/?room=CODE): it fills in the room's code too"));
    code_ = new QLineEdit(this);
    code_->setObjectName(QStringLiteral("codeEdit"));
    code_->setValidator(new RoomCodeValidator(code_));
    code_->setPlaceholderText(QStringLiteral("six letters and digits"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("nameEdit"));
    name_->setValidator(new NameLengthValidator(name_));
    spectate_ = new QCheckBox(QStringLiteral("Watch only"), this);
    spectate_->setObjectName(QStringLiteral("spectateCheck"));
    spectate_->setToolTip(QStringLiteral("Follow the game without a seat"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Address:"), address_);
    form->addRow(QStringLiteral("Room code:"), code_);
    form->addRow(QStringLiteral("Your name:"), name_);
    form->addRow(QString(), spectate_);

    games_ = new QListWidget(this);
    games_->setObjectName(QStringLiteral("gameList"));
    games_->setMinimumHeight(90);
    games_->setMinimumWidth(440);
    missing_ = new QLabel(this);
    missing_->setObjectName(QStringLiteral("missingLabel"));
    missing_->setWordWrap(true);
    missing_->setStyleSheet(QStringLiteral("QLabel { color: #a04000; }"));
    noGames_ = new QLabel(QStringLiteral("No game found on the local network yet."), this);
    noGames_->setObjectName(QStringLiteral("noGamesLabel"));
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton()->setText(QStringLiteral("Join"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(missing_);
    layout->addWidget(new QLabel(QStringLiteral("Games on the local network:"), this));
    layout->addWidget(games_);
    layout->addWidget(noGames_);
    layout->addWidget(buttons_);

    for (QLineEdit* edit : {address_, code_, name_}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { takeInvitation(edit); });
        connect(edit, &QLineEdit::textChanged, this, &JoinOnlineDialog::updateOk);
    }
    connect(games_, &QListWidget::currentRowChanged, this, &JoinOnlineDialog::chooseGame);
    setChoices(loadJoinChoices());
    setGames({});
}

QPushButton* JoinOnlineDialog::okButton() const { return buttons_->button(QDialogButtonBox::Ok); }

void JoinOnlineDialog::setChoices(const JoinChoices& c) {
    address_->setText(QString::fromStdString(c.url));
    code_->setText(QString::fromStdString(c.code));
    name_->setText(QString::fromStdString(c.name));
    spectate_->setChecked(c.spectate);
    updateOk();
}

JoinChoices JoinOnlineDialog::choices() const {
    return {serverUrl(address_->text()).value_or(QString()).toStdString(), code_->text().toStdString(),
            name_->text().trimmed().toStdString(), spectate_->isChecked()};
}

bool JoinOnlineDialog::entriesValid() const {
    return serverUrl(address_->text()) && protocol::isRoomCode(code_->text().toStdString()) && isPlayerName(name_->text());
}

// An invitation pasted into any box fills in the address, the code and
// whether to watch.
void JoinOnlineDialog::takeInvitation(QLineEdit* edit) {
    QString rest;
    const std::optional<Invitation> invitation = readInvitation(edit->text(), &rest);
    if (!invitation) return;
    const QSignalBlocker quietAddress(address_), quietCode(code_), quietName(name_);
    if (edit == name_) name_->setText(rest);  // the name the box held besides
    address_->setText(invitation->url);
    code_->setText(invitation->code);
    if (invitation->watch) spectate_->setChecked(true);
}

QString JoinOnlineDialog::missingText() const {
    QStringList missing;
    if (!serverUrl(address_->text())) missing << QStringLiteral("the server's address (host:port)");
    if (!protocol::isRoomCode(code_->text().toStdString())) missing << QStringLiteral("the room's code (six letters and digits)");
    if (!isPlayerName(name_->text())) missing << QStringLiteral("your name");
    if (missing.isEmpty()) return {};
    return QStringLiteral("Still needed to join: ") + missing.join(QStringLiteral(", ")) + QLatin1Char('.');
}

void JoinOnlineDialog::updateOk() {
    const QString missing = missingText();
    okButton()->setEnabled(missing.isEmpty());
    okButton()->setToolTip(missing);
    missing_->setText(missing);
    missing_->setVisible(!missing.isEmpty());
}

// The list keeps the game chosen in it while that game is still heard.
void JoinOnlineDialog::setGames(const QList<network::LanGame>& games) {
    const int chosen = games_->currentRow();
    const std::optional<network::LanGame> kept =
        chosen >= 0 && chosen < found_.size() ? std::optional(found_[chosen]) : std::nullopt;
    found_ = games;
    const QSignalBlocker quiet(games_);
    games_->clear();
    for (const network::LanGame& g : found_) {
        auto* item = new QListWidgetItem(gameLine(g), games_);
        item->setToolTip(QStringLiteral("Room code %1").arg(g.code));
        if (kept && kept->address == g.address && kept->port == g.port && kept->code == g.code)
            games_->setCurrentItem(item);
    }
    noGames_->setVisible(found_.isEmpty());
}

void JoinOnlineDialog::chooseGame(int row) {
    if (row < 0 || row >= found_.size()) return;
    const network::LanGame& g = found_[row];
    address_->setText(hostPort(g));
    code_->setText(g.code);
}

void JoinOnlineDialog::done(int result) {
    if (result == Accepted) {
        if (!entriesValid()) return;
        saveJoinChoices(choices());
    }
    QDialog::done(result);
}

}  // namespace capzel::ui
