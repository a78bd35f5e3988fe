// "Join Online Game": the host's address (host:port or a ws:// or wss://
// URL), the room's code, the player's name and "Watch only", with the games
// found on the local network listed beneath; choosing one fills in its
// address and code, and so does an invitation pasted into any box. Join
// stays greyed, saying what is still needed, until every entry is good. It opens with
// the last choices taken, and keeps the new ones when accepted.
//
// The list follows a LanBrowser: connect its gamesChanged to setGames.
#pragma once

#include <QDialog>
#include <QList>

#include "network/LanDiscovery.h"
#include "ui/online/OnlineChoices.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace capzel::ui {

class JoinOnlineDialog : public QDialog {
    Q_OBJECT
public:
    explicit JoinOnlineDialog(QWidget* parent = nullptr);

    // The choices as shown: the URL as ws://host:port (or wss://), the code
    // in upper case, the name trimmed. Meaningful when entriesValid().
    JoinChoices choices() const;
    void setChoices(const JoinChoices& choices);
    bool entriesValid() const;

    void done(int result) override;

    QLineEdit* addressEdit() const { return address_; }
    QLineEdit* codeEdit() const { return code_; }
    QLineEdit* nameEdit() const { return name_; }
    QCheckBox* spectateCheck() const { return spectate_; }
    QListWidget* gameList() const { return games_; }
    QPushButton* okButton() const;
    // What is still needed to join, in words; empty once every entry is good.
    QString missingText() const;
    QLabel* missingLabel() const { return missing_; }

public slots:
    // The games heard on the local network, as LanBrowser lists them.
    void setGames(const QList<capzel::network::LanGame>& games);

private:
    void chooseGame(int row);
    void updateOk();
    void takeInvitation(QLineEdit* edit);

    QLineEdit* address_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
    QCheckBox* spectate_ = nullptr;
    QListWidget* games_ = nullptr;
    QLabel* noGames_ = nullptr;
    QLabel* missing_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QList<capzel::network::LanGame> found_;
};

}  // namespace capzel::ui
