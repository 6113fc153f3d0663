#include "app/frmconfig.h"

#include <algorithm>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStringList>
#include <QStringListModel>
#include <QStyle>
#include <QTimer>

#include "app/accessibletext.h"
#include "app/appearance.h"
#include "app/settingcheckbox.h"
#include "app/twips.h"
#include "app/userprompts.h"
#include "keys/keycatalogue.h"
#include "scores/scorereset.h"
#include "settings/settingsfields.h"
#include "settings/settingsfile.h"
#include "window/layouttable.h"

namespace trelvane {

namespace {

struct SliderSteps {
    Field field;
    int smallChange;  // arrow keys
    int largeChange;  // Page Up / Page Down, a click in the track
};

constexpr std::array<SliderSteps, 5> Sliders = {{
    {Field::SphereDetail, 1, 2},
    {Field::OdoDetail, 1, 2},
    {Field::MsgTrans, 1, 10},
    {Field::SoundVolume, 1, 10},
    {Field::MusicVolume, 1, 10},
}};

QString controlName(const ControlDef &def)
{
    QString name = QString::fromUtf8(def.name.data(), static_cast<int>(def.name.size()));
    if (def.index >= 0)
        name += QStringLiteral("(%1)").arg(def.index);
    return name;
}

QRect rectOf(const ControlDef &def) { return toPixels(def.left, def.top, def.width, def.height); }

void fill(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

frmConfig::frmConfig(const QString &programFolder, UserPrompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      programFolder_(programFolder), prompts_(prompts)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Trelvane Configuration Utility"));
    giveWindowIcon(*this);
    setFixedSize(toPixels(WindowWidthTwips), toPixels(WindowHeightTwips));

    // The captions were laid out for a small dialog font; the machine's own could clip them.
    setFont(windowFont());

    // Created bottom-most first, so that each control stacks above those before it.
    std::vector<std::pair<const ControlDef *, QWidget *>> focusable;
    for (auto it = WindowLayout.rbegin(); it != WindowLayout.rend(); ++it) {
        QWidget *w = createControl(*it);
        if (!w)
            continue;  // the timer is no widget
        w->setObjectName(controlName(*it));
        bind(*it, w);
        if (it->isWindowed())
            focusable.emplace_back(&*it, w);
    }
    for (const auto &[def, w] : focusable)
        w->raise();
    applyAccessibleText(*this);

    std::sort(focusable.begin(), focusable.end(),
              [](const auto &a, const auto &b) { return a.first->tab < b.first->tab; });
    for (size_t i = 1; i < focusable.size(); ++i)
        setTabOrder(focusable[i - 1].second, focusable[i].second);

    connectPreviews();
    controlsOf(Field::SphereDetail).slider->setFocus();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameSize(), screen->availableGeometry()).topLeft());
}

frmConfig::~frmConfig() = default;

GameFolder frmConfig::gameFolder() const { return GameFolder(QFile::encodeName(programFolder_).toStdString()); }

void frmConfig::createMessageStrip()
{
    // The sample messages are seen only over the part of the dark strip that
    // the speed slider and the box at the right leave open. Clipping them to
    // that part also keeps each animation step's repaint inside it.
    const ControlDef &strip = controlWith(Role::Strip);
    const int left = controlWith(Role::StripSpeed).right();
    const int right = controlWith(Role::StripCover).left;
    messageStrip_ = new QWidget(this);
    messageStrip_->setObjectName(QStringLiteral("messageStrip"));
    messageStrip_->setGeometry(toPixels(left, strip.top, right - left, strip.height));
    fill(messageStrip_, Qt::black);
}

QWidget *frmConfig::createControl(const ControlDef &def)
{
    const QString caption = QString::fromUtf8(def.text.data(), static_cast<int>(def.text.size()));
    QWidget *w = nullptr;

    switch (def.kind) {
    case ControlKind::CheckBox: w = new SettingCheckBox(this); break;
    case ControlKind::ComboBox: w = new QComboBox(this); break;
    case ControlKind::Slider: {
        auto *s = new QSlider(Qt::Horizontal, this);
        const FieldInfo &range = fieldInfo(*def.field);
        s->setRange(range.min, range.max);
        for (const SliderSteps &steps : Sliders)
            if (steps.field == def.field) {
                s->setSingleStep(steps.smallChange);
                s->setPageStep(steps.largeChange);
            }
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(1);
        s->setAutoFillBackground(true);  // hides a message label passing beneath it
        if (def.role == Role::StripSpeed)
            stripSpeed_ = s;
        w = s;
        break;
    }
    case ControlKind::PushButton: {
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(true);  // Enter presses the focused button, and only that one
        void (frmConfig::*handler)() = nullptr;
        switch (def.role) {
        case Role::Ok: handler = &frmConfig::cmdOK_Click; break;
        case Role::Cancel: handler = &frmConfig::cmdCancel_Click; break;
        case Role::Restore: handler = &frmConfig::cmdRestore_Click; break;
        case Role::ResetScores: handler = &frmConfig::cmdResetScores_Click; break;
        default: break;
        }
        if (handler)
            connect(b, &QPushButton::clicked, this, handler);
        w = b;
        break;
    }
    case ControlKind::Timer:
        tmrTransition_ = new QTimer(this);
        tmrTransition_->setObjectName(controlName(def));
        tmrTransition_->setInterval(TransitionIntervalMs);
        connect(tmrTransition_, &QTimer::timeout, this, &frmConfig::tmrTransition_Timer);
        return nullptr;
    case ControlKind::Picture:
        w = new QLabel(this);
        w->hide();  // the one shown at start is shown when it is bound
        break;
    case ControlKind::Label: {
        if (def.role == Role::Message) {
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
            lblMsg_.at(def.index) = l;
            return l;
        }
        auto *l = new QLabel(caption, this);
        w = l;
        if (def.look == Look::FitText) {
            l->move(toPixels(def.left, def.top));
            l->adjustSize();
            return w;
        }
        break;
    }
    case ControlKind::Shape:
        w = new QWidget(this);
        fill(w, def.look == Look::BlackFill ? QColor(Qt::black) : palette().color(QPalette::Button));
        if (def.role == Role::Strip)
            createMessageStrip();  // just above the strip, beneath everything else
        break;
    }
    w->setGeometry(rectOf(def));
    return w;
}

void frmConfig::bind(const ControlDef &def, QWidget *w)
{
    if (!def.field)
        return;
    FieldControls &c = controlsOf(*def.field);
    switch (def.kind) {
    case ControlKind::CheckBox: c.check = static_cast<SettingCheckBox *>(w); break;
    case ControlKind::Slider: c.slider = static_cast<QSlider *>(w); break;
    case ControlKind::ComboBox: c.keys = static_cast<QComboBox *>(w); break;
    case ControlKind::Label: c.caption = static_cast<QLabel *>(w); break;
    case ControlKind::Picture: {
        const QString resource =
            QStringLiteral(":/previews/") + QString::fromUtf8(def.text.data(), static_cast<int>(def.text.size()));
        c.preview.add(def.index, static_cast<QLabel *>(w), resource);
        if (def.role == Role::ShownAtStart)
            c.preview.show(def.index);
        break;
    }
    default: break;
    }
}

void frmConfig::connectPreviews()
{
    for (const FieldInfo &info : SettingsFields) {
        const FieldControls &c = controls(info.field);
        if (c.preview.size() == 0)
            continue;
        const Field f = info.field;
        if (c.check)
            connect(c.check, &QCheckBox::stateChanged, this, [this, f] { showPreview(f); });
        else
            connect(c.slider, &QSlider::valueChanged, this, [this, f] { showPreview(f); });
    }
}

// The picture for the value shown, the others hidden: what every change of the value runs.
void frmConfig::showPreview(Field f)
{
    FieldControls &c = controlsOf(f);
    if (c.check)
        showToggle(c.preview, c.check->value());
    else
        showDetail(c.preview, c.slider->value() - fieldInfo(f).min);
}

void frmConfig::fillKeyLists()
{
    QStringList names;
    names.reserve(KeyCount);
    for (const KeyRow &row : KeyCatalogue)
        names << QString::fromUtf8(row.name.data(), static_cast<int>(row.name.size()));
    // One list of names serves all five slots; each keeps its own selection.
    keyNames_ = new QStringListModel(names, this);
    for (Field slot : {Field::Key0, Field::Key1, Field::Key2, Field::Key3, Field::Key4}) {
        QComboBox *list = controlsOf(slot).keys;
        list->setModel(keyNames_);
        list->setCurrentIndex(-1);  // no binding until the settings are read
    }
}

bool frmConfig::Form_Load()
{
    fillKeyLists();
    show();
    GameSettings loaded;
    if (const auto error = loadSettingsFile(gameFolder(), GameFile::Settings, ReadMode::StartUp, loaded)) {
        // A damaged file need not lock the player out: the factory settings are
        // offered when they would load, and nothing is written before OK.
        if (const auto factoryError = loadFactorySettings(loaded)) {
            prompts_.loadFailed(this,
                                QString::fromStdString(error->message()) +
                                    QStringLiteral("\nThe factory settings cannot be used either: ") +
                                    QString::fromStdString(factoryError->message()) +
                                    QStringLiteral("\n\nThe utility will now close; no file was changed."),
                                false);
            return false;
        }
        if (!prompts_.loadFailed(this,
                                 QString::fromStdString(error->message()) +
                                     QStringLiteral("\n\nNo file was changed. Close ends the utility. "
                                                    "Use Factory Settings fills the window from "
                                                    "default.cfg; nothing is saved until you press OK."),
                                 true))
            return false;
    }
    applySettings(loaded);
    tmrTransition_->start();
    return true;
}

void frmConfig::applySettings(const GameSettings &s)
{
    for (const FieldInfo &info : SettingsFields) {
        FieldControls &c = controlsOf(info.field);
        const std::int32_t v = fieldValue(s, info.field);
        switch (info.kind) {
        case FieldKind::Toggle: c.check->setValue(v); break;
        case FieldKind::Slider:
        case FieldKind::Volume: c.slider->setValue(v); break;
        case FieldKind::KeyCode: c.keys->setCurrentIndex(GetIndex(static_cast<std::int16_t>(v))); break;
        }
        // An unchanged value raised no change handler: its picture is shown here.
        if (c.preview.size() > 0)
            showPreview(info.field);
    }
}

GameSettings frmConfig::settingsFromControls() const
{
    GameSettings s;
    for (const FieldInfo &info : SettingsFields) {
        const FieldControls &c = controls(info.field);
        std::int32_t v = 0;
        switch (info.kind) {
        case FieldKind::Toggle: v = c.check->value(); break;
        case FieldKind::Slider:
        case FieldKind::Volume: v = c.slider->value(); break;
        case FieldKind::KeyCode: v = GetCode(static_cast<std::int16_t>(c.keys->currentIndex())); break;
        }
        setFieldValue(s, info.field, v);
    }
    return s;
}

void frmConfig::cmdOK_Click()
{
    if (const auto error = saveSettingsFile(gameFolder(), settingsFromControls())) {
        if (!error->contentSaved()) {
            // Keep the window and every change, so the player can fix the cause and retry.
            prompts_.error(this,
                           QString::fromStdString(error->message()) +
                               (error->mayBeIncomplete ? QStringLiteral(" Press OK again to rewrite it.") : QString()) +
                               QStringLiteral("\n\nYour changes are still in the window."));
            return;
        }
        prompts_.error(this, QString::fromStdString(error->message()));
    }
    close();
}

void frmConfig::cmdCancel_Click() { close(); }

void frmConfig::cmdRestore_Click()
{
    // The whole file is read and checked before any control changes.
    GameSettings factory;
    if (const auto error = loadFactorySettings(factory)) {
        prompts_.error(this, QString::fromStdString(error->message()) +
                                 QStringLiteral("\n\nThe settings in the window were not changed."));
        return;
    }
    applySettings(factory);
}

std::optional<FileError> frmConfig::loadFactorySettings(GameSettings &settings) const
{
    return loadSettingsFile(gameFolder(), GameFile::Factory, ReadMode::Factory, settings);
}

void frmConfig::cmdResetScores_Click()
{
    if (!prompts_.confirm(this, QStringLiteral("Reset Confirmation"),
                          QStringLiteral("Are you sure you wish to reset high scores?")))
        return;
    if (const auto error = resetHighScores(gameFolder())) {
        QString text = QString::fromStdString(error->message());
        if (error->mayBeIncomplete)
            text += QStringLiteral(" Press Reset High Scores again to rewrite it.");
        else if (!error->contentSaved())
            text += QStringLiteral("\n\nThe high scores were not changed.");
        prompts_.error(this, text);
    }
}

void frmConfig::tmrTransition_Timer()
{
    transition_.tick(stripSpeed_->value());
    for (int i = 0; i < 2; ++i) {
        const QPoint to(toPixels(transition_.left(i)) - messageStrip_->x(), lblMsg_[i]->y());
        if (lblMsg_[i]->pos() != to)  // held labels cost nothing
            lblMsg_[i]->move(to);
    }
}

}  // namespace trelvane
