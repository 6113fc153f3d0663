#pragma once
// The utility's one window, as a Qt view of the window logic: it makes a
// widget for each row of the layout table, passes the player's events on, and
// shows what the logic tells it. What a setting does is decided in window/.

#include <QString>
#include <QWidget>
#include <array>

#include "settings/gamesettings.h"
#include "window/layouttable.h"
#include "window/windowlogic.h"
#include "window/windowview.h"

class QStringListModel;
class QTimer;

namespace trelvane {

class UserPrompts;

class frmConfig : public QWidget, public WindowView {
    Q_OBJECT

public:
    // programFolder: where trelvane.cfg, default.cfg and data/ are.
    frmConfig(const QString &programFolder, UserPrompts &prompts, QWidget *parent = nullptr);
    ~frmConfig() override;

    // Shows the window and loads trelvane.cfg. On a bad or missing file it
    // reports the problem and returns false; the caller ends.
    bool Form_Load() { return logic_.load(); }

    GameSettings settingsFromControls() const { return logic_.settings(); }
    QWidget *control(int row) const { return controls_.at(row); }
    QWidget *messageStrip() const { return messageStrip_; }

    // WindowView
    void setValue(int row, int value) override;
    void setShown(int row, bool shown) override;
    void moveMessage(int row, int leftTwips) override;
    void setDescription(int row, std::string_view text, bool marked) override;
    void setKeyListPrompt(int row, std::string_view prompt) override;
    void showWindow() override { show(); }
    void startTimer(int intervalMs) override;
    bool askYesNo(std::string_view title, std::string_view question) override;
    void showError(std::string_view message) override;
    LoadChoice askAfterLoadFailure(std::string_view message, bool factoryOffered) override;
    void close(int status) override;
    using QWidget::close;

public slots:
    void cmdOK_Click() { logic_.clicked(rowOf(controlWith(Role::Ok))); }
    void cmdCancel_Click() { logic_.clicked(rowOf(controlWith(Role::Cancel))); }
    void cmdRestore_Click() { logic_.clicked(rowOf(controlWith(Role::Restore))); }
    void cmdResetScores_Click() { logic_.clicked(rowOf(controlWith(Role::ResetScores))); }
    void tmrTransition_Timer() { logic_.tick(); }

protected:
    // A key list's keys go to the window logic before the list or Qt's focus
    // and shortcut handling see them.
    bool eventFilter(QObject *watched, QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    static int rowOf(const ControlDef &def) { return static_cast<int>(&def - WindowLayout.data()); }

    // One maker a kind; each returns the widget in its place, or none for the timer.
    QWidget *makeCheckBox(const ControlDef &def);
    QWidget *makeKeyList(const ControlDef &def);
    QWidget *makeSlider(const ControlDef &def);
    QWidget *makeButton(const ControlDef &def);
    QWidget *makePicture(const ControlDef &def);
    QWidget *makeLabel(const ControlDef &def);
    QWidget *makeShape(const ControlDef &def);
    QWidget *make(const ControlDef &def);
    // The one place where a row's events reach the logic.
    void wire(int row, QWidget *w);

    UserPrompts &prompts_;
    std::array<QWidget *, WindowLayout.size()> controls_{};  // by row; none for the timer
    QWidget *messageStrip_ = nullptr;
    QStringListModel *keyNames_ = nullptr;  // the 144 key names, shared by the five lists
    QTimer *tmrTransition_ = nullptr;
    WindowLogic logic_;
};

}  // namespace trelvane
