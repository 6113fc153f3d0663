#include "app/frmconfig.h"

#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringList>
#include <QStringListModel>
#include <QTimer>

#include "app/accessibletext.h"
#include "app/appearance.h"
#include "app/captionlabel.h"
#include "app/keylist.h"
#include "app/previewpicture.h"
#include "app/settingcheckbox.h"
#include "app/text.h"
#include "app/twips.h"
#include "app/userprompts.h"
#include "app/wheelguard.h"
#include "keys/keyboardcodes.h"
#include "keys/keycatalogue.h"
#include "window/look.h"
#include "window/placement.h"
#include "window/settingfacts.h"

namespace trelvane {

namespace {

QString controlName(const ControlDef &def)
{
    QString name = text(def.name);
    if (def.index >= 0)
        name += QStringLiteral("(%1)").arg(def.index);
    return name;
}

QString pictureResource(const ControlDef &def) { return QStringLiteral(":/previews/") + text(def.text); }

QRect rectOf(const ControlDef &def) { return toPixels(def.left, def.top, def.width, def.height); }

void fill(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor colour(const Colour &c) { return {c.red, c.green, c.blue}; }

}  // namespace

frmConfig::frmConfig(const QString &programFolder, UserPrompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      prompts_(prompts), logic_(QDir(programFolder).filesystemPath(), *this)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(text(WindowTitle));
    giveWindowIcon(*this);
    setFixedSize(toPixels(WindowWidthTwips), toPixels(WindowHeightTwips));

    // The captions were laid out for a small dialog font; the machine's own could clip them.
    setFont(windowFont());
    lendWindowFontToPopups();

    QStringList names;
    names.reserve(KeyCount);
    for (const KeyRow &row : KeyCatalogue)
        names << text(row.name);
    // One list of names serves all five slots; each keeps its own selection.
    keyNames_ = new QStringListModel(names, this);

    // Created bottom-most first, so that each control stacks above those before it.
    std::vector<QWidget *> windowed;
    for (auto it = WindowLayout.rbegin(); it != WindowLayout.rend(); ++it) {
        QWidget *w = make(*it);
        if (!w)
            continue;  // the timer is no widget
        w->setObjectName(controlName(*it));
        controls_.at(rowOf(*it)) = w;
        wire(rowOf(*it), w);
        if (it->isWindowed())
            windowed.push_back(w);
    }
    for (QWidget *w : windowed)
        w->raise();
    applyAccessibleText(*this);

    for (size_t i = 1; i < FocusOrder.size(); ++i)
        setTabOrder(control(FocusOrder[i - 1]), control(FocusOrder[i]));
    control(FocusOrder.front())->setFocus();

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const ScreenPoint at =
            placeWindow(frameSize().width(), frameSize().height(), {area.x(), area.y(), area.width(), area.height()});
        move(at.x, at.y);
    }
}

frmConfig::~frmConfig() = default;

QWidget *frmConfig::make(const ControlDef &def)
{
    switch (def.kind) {
    case ControlKind::CheckBox: return makeCheckBox(def);
    case ControlKind::ComboBox: return makeKeyList(def);
    case ControlKind::Slider: return makeSlider(def);
    case ControlKind::PushButton: return makeButton(def);
    case ControlKind::Picture: return makePicture(def);
    case ControlKind::Label: return makeLabel(def);
    case ControlKind::Shape: return makeShape(def);
    case ControlKind::Timer:
        tmrTransition_ = new QTimer(this);
        tmrTransition_->setObjectName(controlName(def));
        connect(tmrTransition_, &QTimer::timeout, this, &frmConfig::tmrTransition_Timer);
        return nullptr;
    }
    return nullptr;
}

QWidget *frmConfig::makeCheckBox(const ControlDef &def)
{
    auto *box = new SettingCheckBox(this);
    box->setGeometry(rectOf(def));
    return box;
}

QWidget *frmConfig::makeKeyList(const ControlDef &def)
{
    auto *list = new KeyList(this);
    list->setGeometry(rectOf(def));
    list->setModel(keyNames_);
    list->setCurrentIndex(-1);  // no binding until the settings are read
    return list;
}

QWidget *frmConfig::makeSlider(const ControlDef &def)
{
    auto *s = new QSlider(Qt::Horizontal, this);
    const FieldInfo &range = fieldInfo(*def.field);
    s->setRange(range.min, range.max);
    s->setSingleStep(factsOf(*def.field).smallChange);
    s->setPageStep(factsOf(*def.field).largeChange);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(1);
    s->setAutoFillBackground(true);  // hides a message label passing beneath it
    takeWheelOnlyWithFocus(*s);
    s->setGeometry(rectOf(def));
    return s;
}

QWidget *frmConfig::makeButton(const ControlDef &def)
{
    auto *b = new QPushButton(text(def.text), this);
    b->setAutoDefault(true);  // Enter presses the focused button, and only that one
    b->setGeometry(rectOf(def));
    return b;
}

QWidget *frmConfig::makePicture(const ControlDef &def)
{
    auto *picture = new QLabel(this);
    picture->setGeometry(rectOf(def));
    showPicture(*picture, pictureResource(def), def.role == Role::ShownAtStart);
    return picture;
}

QWidget *frmConfig::makeLabel(const ControlDef &def)
{
    if (def.role == Role::Message) {
        auto *l = new QLabel(text(def.text), messageStrip_);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour(MessageColour));
        p.setColor(QPalette::Window, colour(StripColour));
        l->setPalette(p);
        // Opaque on the black strip: a step repaints the label alone, not the strip beneath it.
        l->setAutoFillBackground(true);
        QFont f = font();
        f.setBold(true);
        l->setFont(f);
        l->move(toPixels(def.left, def.top) - messageStrip_->pos());
        l->adjustSize();  // fits its text, as the other captions that are not fixed size
        return l;
    }
    auto *l = new CaptionLabel(text(def.text), this);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // centred, a tall font's descenders reach the slider below
    if (def.look == Look::FitText) {
        l->move(toPixels(def.left, def.top));
        l->adjustSize();
    } else {
        l->setGeometry(rectOf(def));
    }
    return l;
}

QWidget *frmConfig::makeShape(const ControlDef &def)
{
    auto *w = new QWidget(this);
    w->setGeometry(rectOf(def));
    fill(w, def.role == Role::Strip ? colour(StripColour) : palette().color(QPalette::Button));
    if (def.role == Role::Strip) {
        // The sample messages are seen only over the part of the strip that the
        // speed slider and the box at the right leave open. Clipping them to
        // that part also keeps each animation step's repaint inside it.
        const TwipsRect clip = WindowLogic::messageClip();
        messageStrip_ = new QWidget(this);
        messageStrip_->setObjectName(QStringLiteral("messageStrip"));
        messageStrip_->setGeometry(toPixels(clip.left, clip.top, clip.width, clip.height));
        fill(messageStrip_, colour(StripColour));
    }
    return w;
}

void frmConfig::wire(int row, QWidget *w)
{
    switch (WindowLayout[row].kind) {
    case ControlKind::CheckBox: {
        auto *box = static_cast<SettingCheckBox *>(w);
        connect(box, &QAbstractButton::clicked, this, [this, row] { logic_.clicked(row); });
        // A screen reader's toggle action changes the box without a click: it is the player's click all the same.
        connect(box, &QCheckBox::stateChanged, this, [this, row, box] {
            if (box->value() != logic_.value(row))
                logic_.clicked(row);
        });
        break;
    }
    case ControlKind::PushButton:
        connect(static_cast<QAbstractButton *>(w), &QAbstractButton::clicked, this,
                [this, row] { logic_.clicked(row); });
        break;
    case ControlKind::Slider:
        connect(static_cast<QSlider *>(w), &QSlider::valueChanged, this,
                [this, row](int v) { logic_.changed(row, v); });
        break;
    case ControlKind::ComboBox:
        connect(static_cast<QComboBox *>(w), &QComboBox::currentIndexChanged, this,
                [this, row](int v) { logic_.changed(row, v); });
        w->installEventFilter(this);
        break;
    case ControlKind::Label:
        if (auto *caption = qobject_cast<CaptionLabel *>(w)) {
            connect(caption, &CaptionLabel::clicked, this, [this, row] {
                // As a click on the box it captions: the box takes the focus too.
                if (const int box = WindowLogic::boxOfCaption(row); box >= 0)
                    control(box)->setFocus(Qt::MouseFocusReason);
                logic_.clicked(row);
            });
        }
        break;
    default: break;
    }
}

void frmConfig::setValue(int row, int value)
{
    QWidget *w = control(row);
    const QSignalBlocker quiet(w);  // the logic has run what follows already
    if (auto *box = qobject_cast<SettingCheckBox *>(w))
        box->setValue(value);
    else if (auto *slider = qobject_cast<QSlider *>(w))
        slider->setValue(value);
    else if (auto *list = qobject_cast<QComboBox *>(w))
        list->setCurrentIndex(value);
}

void frmConfig::setShown(int row, bool shown)
{
    showPicture(*static_cast<QLabel *>(control(row)), pictureResource(WindowLayout[row]), shown);
}

void frmConfig::moveMessage(int row, int leftTwips)
{
    QWidget *label = control(row);
    label->move(toPixels(leftTwips) - messageStrip_->x(), label->y());
}

void frmConfig::setDescription(int row, std::string_view description, bool marked)
{
    QWidget *w = control(row);
    explain(w, text(description));
    if (qobject_cast<QComboBox *>(w)) {
        if (marked) {
            QPalette p = w->palette();
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
                p.setColor(role, colour(MarkedKeyColour));
            w->setPalette(p);
        } else if (w->testAttribute(Qt::WA_SetPalette)) {
            w->setPalette(QPalette());  // back to the window's own
        }
    }
}

void frmConfig::setKeyListPrompt(int row, std::string_view prompt)
{
    static_cast<KeyList *>(control(row))->setPrompt(text(prompt));
}

bool frmConfig::eventFilter(QObject *watched, QEvent *e)
{
    auto *list = qobject_cast<KeyList *>(watched);
    const auto found = std::find(controls_.begin(), controls_.end(), watched);
    if (!list || found == controls_.end())
        return QWidget::eventFilter(watched, e);
    const int row = static_cast<int>(found - controls_.begin());
    switch (e->type()) {
    case QEvent::ShortcutOverride:
        // A list waiting for a key takes Alt+letter too, before any button's access key.
        if (logic_.capturing() == row) {
            e->accept();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        // Here, not in keyPressEvent: Qt moves the focus on Tab before that.
        const auto *key = static_cast<QKeyEvent *>(e);
        // Both X11 and Wayland give the evdev code plus 8.
        const quint32 native = key->nativeScanCode();
        const int before = list->currentIndex();
        if (!logic_.keyPressed(row, native > 8 ? keyFromEvdev(native - 8) : 0, key->isAutoRepeat()))
            break;
        if (list->currentIndex() != before)
            list->announceKey();
        return true;
    }
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress: logic_.keyListLeft(); break;
    default: break;
    }
    return QWidget::eventFilter(watched, e);
}

// A click anywhere on the window ends a list's wait for a key.
void frmConfig::mousePressEvent(QMouseEvent *e)
{
    logic_.keyListLeft();
    QWidget::mousePressEvent(e);
}

void frmConfig::startTimer(int intervalMs) { tmrTransition_->start(intervalMs); }

bool frmConfig::askYesNo(std::string_view title, std::string_view question)
{
    return prompts_.confirm(this, text(title), text(question));
}

void frmConfig::showError(std::string_view message) { prompts_.error(this, text(message)); }

LoadChoice frmConfig::askAfterLoadFailure(std::string_view message, bool factoryOffered)
{
    return prompts_.loadFailed(this, text(message), factoryOffered) ? LoadChoice::UseFactorySettings
                                                                    : LoadChoice::Close;
}

void frmConfig::close(int status)
{
    QWidget::close();
    if (status != 0)
        QCoreApplication::exit(status);
}

}  // namespace trelvane
