#pragma once
// A form: a persistent object whose window exists only between load() and unload(). Form_Load
// builds the window's controls; unloading terminates them and destroys the window (deferred, so
// a handler may unload the form it runs on) while the object and its members live on.

#include "host/persist/PropertyBag.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/FormSite.h"
#include "host/widgets/UserControl.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <type_traits>

class QEventLoop;
class QMenuBar;

namespace host {

struct FormDescription;

class Form : public QObject, public FormSite {
    Q_OBJECT
public:
    explicit Form(QObject* parent = nullptr);
    ~Form() override; // unloads without asking Form_Unload and without signalling unloaded()

    QWidget* widget() const; // the window, null while unloaded
    void load();             // creates the window and runs Form_Load; nothing if loaded
    void unload();           // Form_Unload may cancel; nothing if unloaded
    bool isLoaded() const { return m_loaded; }
    void show(); // loads if needed and shows modeless
    // Loads if needed, shows modally centred on the anchor's screen (else the primary one) and
    // returns once the form is unloaded or hidden. Error 400 when the form is already shown.
    void showModal(const QWidget* anchor = nullptr);
    void hide();

    // Places a new control on the window (loading the form if needed): Initialize, then
    // InitProperties, or ReadProperties from the bag; then Resize. Error 727 for a name in use.
    template <class T>
    T* add(const QString& name)
    {
        static_assert(std::is_base_of_v<UserControl, T>, "add<T> places UserControls");
        T* control = new T(prepareAdd(name));
        adopt(control, name, nullptr);
        return control;
    }
    template <class T>
    T* add(const QString& name, const PropertyBag& bag)
    {
        static_assert(std::is_base_of_v<UserControl, T>, "add<T> places UserControls");
        T* control = new T(prepareAdd(name));
        adopt(control, name, &bag);
        return control;
    }
    // Creation by ProgID through the component registry (the module is loaded when needed):
    // error 429 naming the ProgID and the reason when the class cannot be created.
    UserControl* add(const QString& progId, const QString& name);
    UserControl* add(const QString& progId, const QString& name, const PropertyBag& bag);

    // Replaces the form with the one described (host/persist/FormFile.h): settings, then every
    // control in file order, created by ProgID through the registry or, for "VB.*" classes, as
    // intrinsic widgets. A control that cannot be made raises its error, with the control named,
    // and leaves the form unloaded. The form is loaded afterwards, not shown.
    void build(const FormDescription& description);
    // The form as a description: what build() reproduces, controls in tab order.
    FormDescription describe() const;

    QString get_Name() const { return objectName(); }
    QString get_Caption() const { return m_caption; }
    void put_Caption(const QString& caption);
    float get_Width() const { return m_width; } // client width in twips
    void put_Width(float twips);                // negative raises 380
    float get_Height() const { return m_height; }
    void put_Height(float twips);
    bool get_KeyPreview() const override { return m_keyPreview; }
    void put_KeyPreview(bool preview) { m_keyPreview = preview; }
    FontRef get_Font() const override { return m_font; }
    void putref_Font(FontRef font); // null raises 91
    OleColor get_BackColor() const override { return m_backColor; }
    void put_BackColor(OleColor color);

    // The controls of the window in tab order (UserControls anywhere on it, not those inside
    // another control, and named host widgets).
    QList<QWidget*> controls() const override;
    short tabIndexOf(const QWidget* control) const override;
    void setTabIndex(QWidget* control, short index) override; // large goes last

    void siteKeyDown(short& keyCode, short& shift) override;
    void siteKeyPress(short& keyAscii) override;
    void siteKeyUp(short& keyCode, short& shift) override;

    // The window's menu bar, made on first use while the form is loaded: the client area (the
    // form's Width x Height, where the controls sit) moves below it and the window grows by its
    // height. Gone with the window at unload. Error 5 while unloaded.
    QMenuBar* menuBar();

    // The form whose window holds the widget, or null.
    static Form* of(const QWidget* widget);

Q_SIGNALS:
    void loaded();
    void unloaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual void Form_Load() {}
    virtual void Form_Unload(short& /*Cancel*/) {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_KeyDown(short& /*KeyCode*/, short& /*Shift*/) {}
    virtual void Form_KeyPress(short& /*KeyAscii*/) {}
    virtual void Form_KeyUp(short& /*KeyCode*/, short& /*Shift*/) {}

private:
    friend struct FormAccess;
    // The dynamic property naming the ProgID a control was created by.
    static constexpr const char* ProgIdProperty = "kvProgId";
    QWidget* prepareAdd(const QString& name);
    // Error 727 when a control of the form has that name (without regard to case).
    void claimName(const QString& name);
    // Moves the control to that place in the tab order (the list only; applyTabOrder() follows).
    bool placeInTabOrder(QWidget* control, short index);
    void adopt(UserControl* control, const QString& name, const PropertyBag* bag);
    UserControl* addByProgId(const QString& progId, const QString& name, const PropertyBag* bag);
    void unloadNow(bool askFirst);
    void centre(const QWidget* anchor);
    void applyTabOrder();
    // Where controls are placed: below the menu bar once there is one, else the window.
    QWidget* clientArea() const;
    int menuHeight() const;
    void layOutMenu();
    void refreshControls() const;

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_client;
    QPointer<QMenuBar> m_menuBar;
    int m_menuShown = 0; // the bar's height the window was grown by
    bool m_loaded = false;
    bool m_unloading = false;
    bool m_destroying = false;
    bool m_placed = false;
    QEventLoop* m_modalLoop = nullptr;
    QString m_caption;
    float m_width = 4680, m_height = 3195;
    bool m_keyPreview = false;
    FontRef m_font;
    OleColor m_backColor = SystemColor::ButtonFace;
    mutable QList<QPointer<QWidget>> m_controls;
    // While build() places a file's controls: the names taken so far (case-folded), so that each
    // new one is checked without walking the whole form again.
    QSet<QString>* m_namesInBuild = nullptr;
};

} // namespace host
