#pragma once
// The window that holds controls, as the widgets on it see it: the key preview that runs before
// the focused widget's own key events, the tab order, and the font and colour a control reads
// from its container. host::Form is the implementation; widgets find it through their window.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"

#include <QList>

class QWidget;

namespace host {

class FormSite {
public:
    FormSite() = default;
    virtual ~FormSite();
    FormSite(const FormSite&) = delete;
    FormSite& operator=(const FormSite&) = delete;

    // The site whose window holds the widget, or null.
    static FormSite* of(const QWidget* widget);

    virtual bool get_KeyPreview() const = 0;
    virtual FontRef get_Font() const = 0;
    virtual OleColor get_BackColor() const = 0;
    // The controls of the window in tab order.
    virtual QList<QWidget*> controls() const = 0;
    virtual short tabIndexOf(const QWidget* control) const = 0;
    virtual void setTabIndex(QWidget* control, short index) = 0; // negative raises 380

    // The form's own key handlers, each run inside guard(); the arguments come back as the
    // handler left them.
    virtual void siteKeyDown(short& keyCode, short& shift) = 0;
    virtual void siteKeyPress(short& keyAscii) = 0;
    virtual void siteKeyUp(short& keyCode, short& shift) = 0;

protected:
    // The window whose widgets this site serves, from load to unload.
    void attachWindow(const QWidget* window);
    void detachWindow(const QWidget* window);
};

// Tab order of any control, through its form when it is on one; a widget outside a form keeps
// the index it was given.
short tabIndexOfControl(const QWidget* control);
void setTabIndexOfControl(QWidget* control, short index);

} // namespace host
