#include "host/forms/Form.h"

#include "host/automation/CreateControl.h"
#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"
#include "host/value/Twips.h"
#include "host/widgets/Keys.h"
#include "host/widgets/LateBinding.h"
#include "host/widgets/Lifetime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHash>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace host {

// Reaches the protected hooks of a form for the window and the key routing.
struct FormAccess {
    static void activate(Form* f)
    {
        guardIn(f, [&] { f->Form_Activate(); });
    }
    static void resized(Form* f, QWidget* window)
    {
        f->layOutMenu();
        // Takes over a size the user gave the window, keeping stored twips that still round to it.
        const QSize px = window->size() - QSize(0, f->m_menuShown);
        if (twipsToPixelsX(f->m_width, window) != px.width())
            f->m_width = float(px.width() * twipsPerPixelX(window));
        if (twipsToPixelsY(f->m_height, window) != px.height())
            f->m_height = float(px.height() * twipsPerPixelY(window));
        guardIn(f, [&] { f->Form_Resize(); });
    }
    static void closeRequested(Form* f)
    {
        guardIn(f, [&] { f->unload(); });
    }
};

namespace {

class FormWindow : public QWidget {
public:
    explicit FormWindow(Form* form) : QWidget(nullptr, Qt::Window), m_form(form) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // Closing unloads; the window goes through unload's deferred disposal, not Qt's close.
        event->ignore();
        if (m_form) FormAccess::closeRequested(m_form);
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate && m_form) FormAccess::activate(m_form);
        return QWidget::event(event);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (m_form) FormAccess::resized(m_form, this);
    }
    // The window's own keys, when no control has the focus.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!m_form || (focusWidget() && focusWidget() != this)) {
            QWidget::keyPressEvent(event);
            return;
        }
        event->accept();
        guardIn(m_form, [&] {
            QPointer<Form> form = m_form;
            short keyCode = virtualKeyCode(event), shift = shiftMask(event->modifiers());
            if (keyCode != 0) {
                if (form->get_KeyPreview())
                    previewKeyDown(this, keyCode, shift);
                else
                    form->siteKeyDown(keyCode, shift);
                if (!form) return;
            }
            short keyAscii = keyAsciiOf(event);
            if (keyAscii == 0) return;
            if (form->get_KeyPreview())
                previewKeyPress(this, keyAscii);
            else
                form->siteKeyPress(keyAscii);
        });
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (!m_form || (focusWidget() && focusWidget() != this) || event->isAutoRepeat()) {
            QWidget::keyReleaseEvent(event);
            return;
        }
        event->accept();
        guardIn(m_form, [&] {
            short keyCode = virtualKeyCode(event), shift = shiftMask(event->modifiers());
            if (keyCode == 0) return;
            if (m_form->get_KeyPreview())
                previewKeyUp(this, keyCode, shift);
            else
                m_form->siteKeyUp(keyCode, shift);
        });
    }

private:
    QPointer<Form> m_form;
};

} // namespace

// ---------------------------------------------------------------- Form

Form::Form(QObject* parent) : QObject(parent), m_font(StdFont::create()) {}

Form::~Form()
{
    // Nothing is signalled from here: a receiver of the derived class would find it gone.
    m_destroying = true;
    unloadNow(false);
}

void Form::siteKeyDown(short& keyCode, short& shift)
{
    guardIn(this, [&] { Form_KeyDown(keyCode, shift); });
}

void Form::siteKeyPress(short& keyAscii)
{
    guardIn(this, [&] { Form_KeyPress(keyAscii); });
}

void Form::siteKeyUp(short& keyCode, short& shift)
{
    guardIn(this, [&] { Form_KeyUp(keyCode, shift); });
}

QWidget* Form::widget() const
{
    return m_loaded ? m_window.data() : nullptr;
}

Form* Form::of(const QWidget* widget)
{
    return dynamic_cast<Form*>(FormSite::of(widget));
}

void Form::load()
{
    if (m_loaded) return;
    auto* window = new FormWindow(this);
    window->setObjectName(objectName());
    window->setWindowTitle(m_caption);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, toQColor(m_backColor));
    window->setPalette(palette);
    window->setFont(m_font->toQFont());
    window->resize(twipsToPixelsX(m_width, window), twipsToPixelsY(m_height, window));
    m_window = window;
    attachWindow(window);
    m_loaded = true;
    m_placed = false;
    m_controls.clear();
    guardIn(this, [&] { Form_Load(); });
    if (m_loaded) Q_EMIT loaded();
}

void Form::unload()
{
    unloadNow(true);
}

void Form::unloadNow(bool askFirst)
{
    if (!m_loaded || m_unloading) return;
    if (askFirst) {
        short cancel = 0;
        guardIn(this, [&] { Form_Unload(cancel); });
        if (cancel != 0 || !m_loaded) return;
    }
    m_unloading = true;
    QWidget* window = m_window.data();
    if (window) {
        // Controls end before the window takes them down with it, outer controls first.
        for (UserControl* control : window->findChildren<UserControl*>())
            control->terminate();
        detachWindow(window);
        dispose(window);
    }
    m_window = nullptr;
    m_client = nullptr;
    m_menuBar = nullptr;
    m_menuShown = 0;
    m_loaded = false;
    m_controls.clear();
    m_unloading = false;
    if (m_modalLoop) m_modalLoop->exit();
    if (!m_destroying) Q_EMIT unloaded();
}

void Form::centre(const QWidget* anchor)
{
    QScreen* screen = anchor ? anchor->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen || !m_window) return;
    QRect frame(QPoint(0, 0), m_window->size());
    frame.moveCenter(screen->availableGeometry().center());
    // The client area is what is centred: the frame's size is not known before the first show.
    m_window->setGeometry(frame);
    m_placed = true;
}

void Form::show()
{
    load();
    if (!m_loaded || !m_window) return;
    if (!m_placed) centre(nullptr);
    m_window->show();
    m_window->activateWindow();
}

void Form::showModal(const QWidget* anchor)
{
    if (m_loaded && m_window && m_window->isVisible())
        raiseError(Err::FormAlreadyDisplayed,
                   QStringLiteral("Form already displayed; can't show modally"));
    load();
    if (!m_loaded || !m_window) return;
    centre(anchor);
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->show();
    m_window->activateWindow();

    QEventLoop loop;
    QEventLoop* outer = m_modalLoop;
    m_modalLoop = &loop;
    QPointer<Form> self(this);
    loop.exec(QEventLoop::DialogExec);
    if (!self) return; // the form object itself was deleted by a handler
    m_modalLoop = outer;
    if (m_window) m_window->setWindowModality(Qt::NonModal);
}

void Form::hide()
{
    if (m_window) m_window->hide();
    if (m_modalLoop) m_modalLoop->exit();
}

QWidget* Form::prepareAdd(const QString& name)
{
    load();
    if (!m_window) raiseError(Err::InvalidProcedureCall, QStringLiteral("The form is not loaded"));
    claimName(name);
    return clientArea();
}

void Form::claimName(const QString& name)
{
    const auto taken = [&name] {
        raiseError(727, QStringLiteral("There is already a control with the name '%1'").arg(name));
    };
    if (m_namesInBuild) {
        const QString key = name.toCaseFolded();
        if (m_namesInBuild->contains(key)) taken();
        m_namesInBuild->insert(key);
        return;
    }
    for (QWidget* existing : controls())
        if (existing->objectName().compare(name, Qt::CaseInsensitive) == 0) taken();
}

void Form::adopt(UserControl* control, const QString& name, const PropertyBag* bag)
{
    control->startLife(name, bag);
    m_controls.append(control);
    // A control added to a shown window appears, unless its hooks hid it on purpose.
    if (m_window && m_window->isVisible() &&
        !(control->testAttribute(Qt::WA_WState_ExplicitShowHide) && control->isHidden()))
        control->show();
}

UserControl* Form::add(const QString& progId, const QString& name)
{
    return addByProgId(progId, name, nullptr);
}

UserControl* Form::add(const QString& progId, const QString& name, const PropertyBag& bag)
{
    return addByProgId(progId, name, &bag);
}

UserControl* Form::addByProgId(const QString& progId, const QString& name, const PropertyBag* bag)
{
    QWidget* window = prepareAdd(name);
    UserControl* control = nullptr;
    QString why;
    const HRESULT hr = createInstance(progId, window, &control, &why);
    if (failed(hr) || !control)
        raiseError(429, QStringLiteral("ActiveX component can't create object: %1").arg(why));
    // describe() names the class as it was asked for.
    control->setProperty(ProgIdProperty, progId);
    adopt(control, name, bag);
    return control;
}

void Form::put_Caption(const QString& caption)
{
    m_caption = caption;
    if (m_window) m_window->setWindowTitle(caption);
}

void Form::put_Width(float twips)
{
    m_width = boundedTwips(twips, true);
    if (m_window) m_window->resize(twipsToPixelsX(m_width, m_window), m_window->height());
    layOutMenu();
}

void Form::put_Height(float twips)
{
    m_height = boundedTwips(twips, true);
    if (m_window)
        m_window->resize(m_window->width(), twipsToPixelsY(m_height, m_window) + m_menuShown);
}

void Form::putref_Font(FontRef font)
{
    if (!font) raiseError(Err::ObjectVariableNotSet);
    m_font = std::move(font);
    if (m_window) m_window->setFont(m_font->toQFont());
}

void Form::put_BackColor(OleColor color)
{
    const QColor c = toQColor(color);
    m_backColor = color;
    if (m_window) {
        QPalette palette = m_window->palette();
        palette.setColor(QPalette::Window, c);
        m_window->setPalette(palette);
    }
}

void Form::refreshControls() const
{
    QList<QPointer<QWidget>> kept;
    QSet<const QWidget*> known;
    for (const auto& c : std::as_const(m_controls))
        if (c && !isDisposed(c)) {
            kept.append(c);
            known.insert(c.data());
        }
    m_controls = kept;
    if (!m_window) return;
    const QList<QWidget*> found = controlsUnder(m_window);
    for (QWidget* w : found)
        if (!known.contains(w)) m_controls.append(w);
}

QList<QWidget*> Form::controls() const
{
    refreshControls();
    QList<QWidget*> result;
    for (const auto& c : std::as_const(m_controls))
        result.append(c.data());
    return result;
}

short Form::tabIndexOf(const QWidget* control) const
{
    const QList<QWidget*> list = controls();
    return short(list.indexOf(const_cast<QWidget*>(control)));
}

void Form::setTabIndex(QWidget* control, short index)
{
    if (index < 0) raiseError(Err::InvalidPropertyValue);
    refreshControls();
    if (placeInTabOrder(control, index)) applyTabOrder();
}

bool Form::placeInTabOrder(QWidget* control, short index)
{
    const qsizetype from = m_controls.indexOf(control);
    if (from < 0) return false;
    const qsizetype to = std::min<qsizetype>(index, m_controls.size() - 1);
    m_controls.move(from, to);
    return true;
}

QWidget* Form::clientArea() const
{
    return m_client ? m_client.data() : m_window.data();
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_menuBar &&
        (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved ||
         event->type() == QEvent::ActionChanged))
        // After the bar has taken the change in: its height is known once it has.
        QTimer::singleShot(0, this, [this] { guardIn(this, [&] { layOutMenu(); }); });
    return QObject::eventFilter(watched, event);
}

int Form::menuHeight() const
{
    return m_menuBar ? m_menuBar->sizeHint().height() : 0;
}

void Form::layOutMenu()
{
    if (!m_window || !m_menuBar || !m_client) return;
    // The bar's height follows its menus: the window grows or shrinks with it, the client area
    // keeps its size.
    const int h = menuHeight();
    if (h != m_menuShown) {
        const int change = h - m_menuShown;
        m_menuShown = h;
        m_window->resize(m_window->width(), m_window->height() + change);
    }
    m_menuBar->setGeometry(0, 0, m_window->width(), h);
    m_client->setGeometry(0, h, m_window->width(), std::max(0, m_window->height() - h));
}

QMenuBar* Form::menuBar()
{
    if (!m_window) raiseError(Err::InvalidProcedureCall, QStringLiteral("The form is not loaded"));
    if (m_menuBar) return m_menuBar;
    // The controls move into a client widget below the bar, where they keep their places.
    auto* client = new QWidget(m_window);
    client->setAutoFillBackground(false);
    for (QObject* child : m_window->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w == client || w->isWindow()) continue;
        const QPoint at = w->pos();
        const bool shown = !w->isHidden();
        w->setParent(client);
        w->move(at);
        if (shown) w->show();
    }
    m_client = client;
    m_menuBar = new QMenuBar(m_window);
    m_menuBar->installEventFilter(this);
    m_menuShown = 0;
    layOutMenu();
    client->show();
    m_menuBar->show();
    applyTabOrder();
    return m_menuBar;
}

void Form::applyTabOrder()
{
    QWidget* previous = nullptr;
    for (const auto& c : std::as_const(m_controls)) {
        QWidget* w = c.data();
        if (!w) continue;
        // A control that is no tab stop itself hands the chain to its first focusable child.
        if (!(w->focusPolicy() & Qt::TabFocus))
            for (QWidget* child : w->findChildren<QWidget*>())
                if (child->focusPolicy() & Qt::TabFocus) {
                    w = child;
                    break;
                }
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

} // namespace host
