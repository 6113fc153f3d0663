#include "frmconfig.h"

#include <algorithm>

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStringList>
#include <QStringListModel>
#include <QStyle>
#include <QTimer>

#include "appearance.h"
#include "keycatalogue.h"
#include "layouttable.h"
#include "scorereset.h"
#include "settingcheckbox.h"
#include "settingsfields.h"
#include "settingsfile.h"
#include "twips.h"
#include "userprompts.h"

namespace trelvane {

namespace {

// Which control shows each field, and which preview row follows it.
struct FieldBinding {
    Field field;
    const char *control;     // name in the layout table
    const char *preview;     // picture group switched by the control's handler, or nullptr
    int pictureOffset;       // picture index = value - offset
    bool loadShowsPicture;   // loading also shows the value's picture itself
};

constexpr std::array<FieldBinding, FieldCount> Bindings = {{
    {Field::SphereDetail, "sldSphereDetail", "imgSphereDetail", 0, true},
    {Field::OdoDetail, "sldOdoDetail", "imgOdoDetail", 6, true},
    {Field::FPS, "chkFPS", "imgFPS", 0, true},
    {Field::Score, "chkScore", "imgScore", 0, true},
    {Field::Level, "chkLevel", "imgLevel", 0, true},
    {Field::Mask, "chkMask", "imgMask", 0, true},
    {Field::Mirror, "chkMirror", "imgMirror", 0, true},
    {Field::Transparency, "chkTransparency", "imgTransparency", 0, true},
    {Field::MsgTrans, "sldMsgTrans", nullptr, 0, false},
    {Field::Sound, "chkSound", nullptr, 0, false},
    {Field::SoundVolume, "sldSound", nullptr, 0, false},
    {Field::Music, "chkMusic", nullptr, 0, false},
    {Field::MusicVolume, "sldMusic", nullptr, 0, false},
    // Its picture follows the check box alone: picture 0 is shown from the start.
    {Field::Particles, "chkParticles", "imgParticles", 0, false},
    {Field::Key0, "cmbKeys(0)", nullptr, 0, false},
    {Field::Key1, "cmbKeys(1)", nullptr, 0, false},
    {Field::Key2, "cmbKeys(2)", nullptr, 0, false},
    {Field::Key3, "cmbKeys(3)", nullptr, 0, false},
    {Field::Key4, "cmbKeys(4)", nullptr, 0, false},
}};

struct SliderSteps {
    const char *control;
    int smallChange;  // arrow keys
    int largeChange;  // Page Up / Page Down, a click in the track
};

constexpr std::array<SliderSteps, 5> Sliders = {{
    {"sldSphereDetail", 1, 2},
    {"sldOdoDetail", 1, 2},
    {"sldMsgTrans", 1, 10},
    {"sldSound", 1, 10},
    {"sldMusic", 1, 10},
}};

std::string controlName(const ControlDef &def)
{
    std::string name(def.name);
    if (def.index >= 0) {
        name += '(';
        name += std::to_string(def.index);
        name += ')';
    }
    return name;
}

const FieldInfo &fieldOfControl(const std::string &control)
{
    for (const FieldBinding &b : Bindings)
        if (control == b.control)
            return fieldInfo(b.field);
    return fieldInfo(Field::SphereDetail);  // not reached: every slider is bound
}

QRect rectOf(const ControlDef &def)
{
    return toPixels(def.left, def.top, def.width, def.height);
}

void fill(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

frmConfig::frmConfig(const QString &programFolder, UserPrompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      programFolder_(programFolder), prompts_(prompts)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Trelvane Configuration Utility"));
    giveWindowIcon(*this);
    setFixedSize(toPixels(WindowWidthTwips), toPixels(WindowHeightTwips));

    // The captions were laid out for a small dialog font; the machine's own could clip them.
    setFont(windowFont());

    // Created bottom-most first, so that each control stacks above those before it.
    for (auto it = WindowLayout.rbegin(); it != WindowLayout.rend(); ++it)
        if (QWidget *w = createControl(*it))  // the timer is no widget
            controls_[controlName(*it)] = w;
    for (auto it = WindowLayout.rbegin(); it != WindowLayout.rend(); ++it)
        if (it->isWindowed())
            control(controlName(*it))->raise();

    std::vector<const ControlDef *> focusable;
    for (const ControlDef &def : WindowLayout)
        if (def.isWindowed())
            focusable.push_back(&def);
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlDef *a, const ControlDef *b) { return a->tab < b->tab; });
    for (size_t i = 1; i < focusable.size(); ++i)
        setTabOrder(control(controlName(*focusable[i - 1])), control(controlName(*focusable[i])));

    connectPreviews();
    const std::pair<const char *, void (frmConfig::*)()> buttons[] = {
        {"cmdOK", &frmConfig::cmdOK_Click},
        {"cmdCancel", &frmConfig::cmdCancel_Click},
        {"cmdRestore", &frmConfig::cmdRestore_Click},
        {"cmdResetScores", &frmConfig::cmdResetScores_Click},
    };
    for (const auto &[name, handler] : buttons)
        connect(static_cast<QPushButton *>(control(name)), &QPushButton::clicked, this, handler);
    control("sldSphereDetail")->setFocus();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameSize(),
                                 screen->availableGeometry())
                 .topLeft());
}

frmConfig::~frmConfig() = default;

QWidget *frmConfig::control(const std::string &name) const
{
    return controls_.at(name);
}

QString frmConfig::filePath(const QString &name) const
{
    return QDir(programFolder_).filePath(name);
}

void frmConfig::createMessageStrip()
{
    // The sample messages are seen only over the part of the dark strip that
    // the speed slider and the box at the right leave open. Clipping them to
    // that part also keeps each animation step's repaint inside it.
    const ControlDef &strip = *findControl("Shape1");
    const int left = findControl("sldMsgTrans")->right();
    const int right = findControl("Shape2")->left;
    messageStrip_ = new QWidget(this);
    messageStrip_->setObjectName(QStringLiteral("messageStrip"));
    messageStrip_->setGeometry(toPixels(left, strip.top, right - left, strip.height));
    fill(messageStrip_, Qt::black);
}

QWidget *frmConfig::createControl(const ControlDef &def)
{
    const QString caption = QString::fromUtf8(def.text.data(), static_cast<int>(def.text.size()));
    const std::string name = controlName(def);
    QWidget *w = nullptr;

    switch (def.kind) {
    case ControlKind::CheckBox:
        w = new SettingCheckBox(this);
        break;
    case ControlKind::ComboBox:
        w = new QComboBox(this);
        cmbKeys_.at(def.index) = static_cast<QComboBox *>(w);
        break;
    case ControlKind::Slider: {
        auto *s = new QSlider(Qt::Horizontal, this);
        const FieldInfo &range = fieldOfControl(name);
        s->setRange(range.min, range.max);
        for (const SliderSteps &steps : Sliders)
            if (name == steps.control) {
                s->setSingleStep(steps.smallChange);
                s->setPageStep(steps.largeChange);
            }
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(1);
        s->setAutoFillBackground(true);  // hides a message label passing beneath it
        if (name == "sldMsgTrans")
            sldMsgTrans_ = s;
        w = s;
        break;
    }
    case ControlKind::PushButton: {
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(true);  // Enter presses the focused button, and only that one
        w = b;
        break;
    }
    case ControlKind::Timer:
        tmrTransition_ = new QTimer(this);
        tmrTransition_->setObjectName(QString::fromStdString(name));
        tmrTransition_->setInterval(TransitionIntervalMs);
        connect(tmrTransition_, &QTimer::timeout, this, &frmConfig::tmrTransition_Timer);
        return nullptr;
    case ControlKind::Picture: {
        auto *p = new QLabel(this);
        const std::string group(def.name);
        groups_[group].add(def.index, p, QStringLiteral(":/previews/") + caption);
        w = p;
        w->setGeometry(rectOf(def));
        w->setObjectName(QString::fromStdString(name));
        if (name == "imgParticles(0)")
            groups_[group].show(0);
        else
            w->hide();
        return w;
    }
    case ControlKind::Label: {
        if (def.look == Look::MessageText) {
            auto *l = new QLabel(caption, messageStrip_);
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, Qt::yellow);
            p.setColor(QPalette::Window, Qt::black);
            l->setPalette(p);
            // Opaque on the black strip: a step repaints the label alone, not the strip beneath it.
            l->setAutoFillBackground(true);
            QFont f = font();
            f.setBold(true);
            l->setFont(f);
            l->move(toPixels(def.left, def.top) - messageStrip_->pos());
            l->adjustSize();  // fits its text, as the other captions that are not fixed size
            l->setObjectName(QString::fromStdString(name));
            lblMsg_.at(def.index) = l;
            return l;
        }
        auto *l = new QLabel(caption, this);
        w = l;
        if (def.look == Look::FitText) {
            l->move(toPixels(def.left, def.top));
            l->adjustSize();
            w->setObjectName(QString::fromStdString(name));
            return w;
        }
        break;
    }
    case ControlKind::Shape:
        w = new QWidget(this);
        fill(w, def.look == Look::BlackFill ? QColor(Qt::black) : palette().color(QPalette::Button));
        if (def.look == Look::BlackFill)
            createMessageStrip();  // just above the strip, beneath everything else
        break;
    }
    w->setGeometry(rectOf(def));
    w->setObjectName(QString::fromStdString(name));
    return w;
}

void frmConfig::connectPreviews()
{
    for (const FieldBinding &b : Bindings) {
        if (!b.preview)
            continue;
        PictureGroup *group = &groups_.at(b.preview);
        QWidget *w = control(b.control);
        if (auto *box = qobject_cast<SettingCheckBox *>(w)) {
            connect(box, &QCheckBox::stateChanged, this,
                    [box, group] { showToggle(*group, box->value()); });
        } else if (auto *slider = qobject_cast<QSlider *>(w)) {
            const int offset = b.pictureOffset;
            connect(slider, &QSlider::valueChanged, this,
                    [group, offset](int v) { showDetail(*group, v - offset); });
        }
    }
}

void frmConfig::fillKeyLists()
{
    QStringList names;
    names.reserve(KeyCount);
    for (const KeyRow &row : KeyCatalogue)
        names << QString::fromUtf8(row.name.data(), static_cast<int>(row.name.size()));
    // One list of names serves all five slots; each keeps its own selection.
    keyNames_ = new QStringListModel(names, this);
    for (QComboBox *list : cmbKeys_) {
        list->setModel(keyNames_);
        list->setCurrentIndex(-1);  // no binding until the settings are read
    }
}

bool frmConfig::Form_Load()
{
    fillKeyLists();
    show();
    const FileLoad load = loadSettingsFile(filePath(QStringLiteral("trelvane.cfg")), ReadMode::StartUp);
    if (!load.ok()) {
        prompts_.error(this, load.error + QStringLiteral("\n\nThe utility will now close; no file was changed."));
        return false;
    }
    applySettings(load.settings);
    tmrTransition_->start();
    return true;
}

void frmConfig::applySettings(const GameSettings &s)
{
    for (const FieldBinding &b : Bindings) {
        const std::int32_t v = fieldValue(s, b.field);
        QWidget *w = control(b.control);
        if (auto *box = qobject_cast<SettingCheckBox *>(w))
            box->setValue(v);
        else if (auto *slider = qobject_cast<QSlider *>(w))
            slider->setValue(v);
        else if (auto *list = qobject_cast<QComboBox *>(w))
            list->setCurrentIndex(GetIndex(static_cast<std::int16_t>(v)));
        if (b.loadShowsPicture)
            groups_.at(b.preview).show(v - b.pictureOffset);
    }
}

GameSettings frmConfig::settingsFromControls() const
{
    GameSettings s;
    for (const FieldBinding &b : Bindings) {
        QWidget *w = control(b.control);
        std::int32_t v = 0;
        if (auto *box = qobject_cast<SettingCheckBox *>(w))
            v = box->value();
        else if (auto *slider = qobject_cast<QSlider *>(w))
            v = slider->value();
        else if (auto *list = qobject_cast<QComboBox *>(w))
            v = GetCode(static_cast<std::int16_t>(list->currentIndex()));
        setFieldValue(s, b.field, v);
    }
    return s;
}

void frmConfig::cmdOK_Click()
{
    const QString error = saveSettingsFile(filePath(QStringLiteral("trelvane.cfg")), settingsFromControls());
    if (!error.isEmpty()) {
        // Keep the window and every change, so the player can fix the cause and retry.
        prompts_.error(this, error + QStringLiteral("\n\nYour changes are still in the window."));
        return;
    }
    close();
}

void frmConfig::cmdCancel_Click()
{
    close();
}

void frmConfig::cmdRestore_Click()
{
    // The whole file is read and checked before any control changes.
    const FileLoad load = loadSettingsFile(filePath(QStringLiteral("default.cfg")), ReadMode::Factory);
    if (!load.ok()) {
        prompts_.error(this, load.error + QStringLiteral("\n\nThe settings in the window were not changed."));
        return;
    }
    applySettings(load.settings);
}

void frmConfig::cmdResetScores_Click()
{
    if (!prompts_.confirm(this, QStringLiteral("Reset Confirmation"),
                          QStringLiteral("Are you sure you wish to reset high scores?")))
        return;
    const QString error = resetHighScores(programFolder_);
    if (!error.isEmpty())
        prompts_.error(this, error + QStringLiteral("\n\nThe high scores were not changed."));
}

void frmConfig::tmrTransition_Timer()
{
    transition_.tick(sldMsgTrans_->value());
    for (int i = 0; i < 2; ++i) {
        const QPoint to(toPixels(transition_.left(i)) - messageStrip_->x(), lblMsg_[i]->y());
        if (lblMsg_[i]->pos() != to)  // held labels cost nothing
            lblMsg_[i]->move(to);
    }
}

}  // namespace trelvane
