#pragma once
// The utility's one window. Its controls hold the settings while it is open;
// GameSettings is only what passes between a file and the controls.

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

#include "files/fileerror.h"
#include "files/gamefolder.h"
#include "preview/messagetransition.h"
#include "preview/picturegroup.h"
#include "settings/gamesettings.h"
#include "settings/settingsfields.h"

class QComboBox;
class QLabel;
class QSlider;
class QStringListModel;
class QTimer;

namespace trelvane {

class SettingCheckBox;
class UserPrompts;
struct ControlDef;

// The controls of one setting: the one that holds its value (by the field's
// kind), the preview pictures that follow it, and the label that names it.
struct FieldControls {
    SettingCheckBox *check = nullptr;  // toggles
    QSlider *slider = nullptr;  // detail levels, speed, volumes
    QComboBox *keys = nullptr;  // key bindings
    PictureGroup preview;  // empty where the setting has no picture
    QLabel *caption = nullptr;  // none for the volumes
};

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

    const FieldControls &controls(Field f) const { return fields_[static_cast<std::size_t>(f)]; }
    const MessageTransition &transition() const { return transition_; }
    QWidget *messageStrip() const { return messageStrip_; }

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdRestore_Click();
    void cmdResetScores_Click();
    void tmrTransition_Timer();

private:
    FieldControls &controlsOf(Field f) { return fields_[static_cast<std::size_t>(f)]; }
    QWidget *createControl(const ControlDef &def);
    void createMessageStrip();
    void bind(const ControlDef &def, QWidget *w);
    void connectPreviews();
    void showPreview(Field f);
    void fillKeyLists();
    GameFolder gameFolder() const;
    // default.cfg as Restore Defaults reads it; start-up offers it after a failed load.
    std::optional<FileError> loadFactorySettings(GameSettings &settings) const;

    QString programFolder_;
    UserPrompts &prompts_;
    std::array<FieldControls, FieldCount> fields_{};  // by field, in file order
    QWidget *messageStrip_ = nullptr;
    std::array<QLabel *, 2> lblMsg_{};
    QStringListModel *keyNames_ = nullptr;  // the 144 key names, shared by the five lists
    QSlider *stripSpeed_ = nullptr;  // sldMsgTrans
    QTimer *tmrTransition_ = nullptr;
    MessageTransition transition_;
};

}  // namespace trelvane
