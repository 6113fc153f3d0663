#pragma once
// The utility's one window. Its controls hold the settings while it is open;
// GameSettings is only what passes between a file and the controls.

#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <string>

#include "gamesettings.h"
#include "messagetransition.h"
#include "picturegroup.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QStringListModel;
class QTimer;

namespace trelvane {

class SettingCheckBox;
struct FileLoad;
class UserPrompts;
struct ControlDef;

class frmConfig : public QWidget {
    Q_OBJECT

public:
    // programFolder: where trelvane.cfg, default.cfg and data/ are.
    frmConfig(const QString &programFolder, UserPrompts &prompts, QWidget *parent = nullptr);
    ~frmConfig() override;

    // Fills the key lists, shows the window, loads trelvane.cfg. On a bad or
    // missing file it reports the problem and returns false; the caller ends.
    bool Form_Load();

    GameSettings settingsFromControls() const;
    // Puts every value into its control in file order and shows its preview;
    // the controls' own change handlers hide the pictures being replaced.
    void applySettings(const GameSettings &s);

    const PictureGroup &pictures(const std::string &group) const { return groups_.at(group); }
    const MessageTransition &transition() const { return transition_; }
    QWidget *messageStrip() const { return messageStrip_; }

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdRestore_Click();
    void cmdResetScores_Click();
    void tmrTransition_Timer();

private:
    QWidget *createControl(const ControlDef &def);
    void createMessageStrip();
    void connectPreviews();
    void fillKeyLists();
    QString filePath(const QString &name) const;
    // default.cfg as Restore Defaults reads it; start-up offers it after a failed load.
    FileLoad loadFactorySettings() const;
    QWidget *control(const std::string &name) const;

    QString programFolder_;
    UserPrompts &prompts_;
    std::map<std::string, QWidget *> controls_;  // by name, "cmbKeys(2)" for array members
    std::map<std::string, PictureGroup> groups_;
    QWidget *messageStrip_ = nullptr;
    std::array<QLabel *, 2> lblMsg_{};
    std::array<QComboBox *, KeySlotCount> cmbKeys_{};
    QStringListModel *keyNames_ = nullptr;  // the 144 key names, shared by the five lists
    QSlider *sldMsgTrans_ = nullptr;
    QTimer *tmrTransition_ = nullptr;
    MessageTransition transition_;
};

}  // namespace trelvane
