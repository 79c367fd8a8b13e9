#pragma once
// About: the library's modal information dialog, opened by every control's ShowAbout. One form
// object serves the process; each opening loads the window afresh from its design.

#include "host/forms/Form.h"
#include "library/core/Library.h"

#include <QPointer>

namespace host {
class Label;
class LineControl;
class Shape;
} // namespace host

namespace Kv_CTRL {

class VericalText;
class xpcmdbutton;

class About : public host::Form {
    Q_OBJECT
    KV_CTRL_PROJECT
public:
    explicit About(QObject* parent = nullptr);
    ~About() override;

    // The process's form object, made by the first ShowAbout and released as the application
    // ends.
    static About& instance();

protected:
    void Form_Load() override;
    void Form_KeyDown(short& KeyCode, short& Shift) override;

private:
    void cmdFechar_Click();
    host::Label* label(const char* name, float left, float top, float width, float height,
                       const QString& caption);

    struct {
        QPointer<VericalText> VericalText1;
        QPointer<host::Label> Label1, Label2, Label3, Label4;
        QPointer<host::Shape> Shape1;
        QPointer<host::LineControl> Line1;
        QPointer<host::Label> Label5, Label6, Label7, Label9, Label10;
        QPointer<xpcmdbutton> cmdFechar;
    } ui;
};

} // namespace Kv_CTRL
