#pragma once
// What the field tests share: a form holding fields, the clock fixed on 15/03/2026, message boxes
// recorded, pt-BR pinned, and typing the way a keyboard does.

#include "controls/field/txtCampo.h"
#include "host/forms/Form.h"
#include "host/regional/Regional.h"
#include "host/services/Services.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/Label.h"
#include "host/widgets/TextBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QtTest>
#include <memory>
#include <vector>

namespace fieldtest {

struct Message {
    QString prompt;
    int style = 0;
    QString title;
};

// Services and regional settings pinned for one test function.
class Environment {
public:
    Environment() : m_regional(host::Regional::ptBR())
    {
        host::services().today = [] { return QDate(2026, 3, 15); };
        host::services().msgBox = [this](const QString& prompt, int style, const QString& title) {
            messages.push_back({prompt, style, title});
            return 1;
        };
    }
    std::vector<Message> messages;

private:
    host::ServicesScope m_services;
    host::RegionalScope m_regional;
};

inline host::TextBox* box(const Kv_CTRL::txtCampo* field)
{
    return field->findChild<host::TextBox*>(QStringLiteral("TextCampo"));
}
inline host::CommandButton* findButton(const Kv_CTRL::txtCampo* field)
{
    return qobject_cast<host::CommandButton*>(
        const_cast<Kv_CTRL::txtCampo*>(field)->constituent(QStringLiteral("cmdLocalizar")));
}
inline host::CommandButton* dateButton(const Kv_CTRL::txtCampo* field)
{
    return qobject_cast<host::CommandButton*>(
        const_cast<Kv_CTRL::txtCampo*>(field)->constituent(QStringLiteral("cmdCalendario")));
}
inline host::Label* panel(const Kv_CTRL::txtCampo* field)
{
    return qobject_cast<host::Label*>(
        const_cast<Kv_CTRL::txtCampo*>(field)->constituent(QStringLiteral("lblButton")));
}

// Types text as a keyboard does, also characters QTest cannot name (ç on an ABNT2 keyboard).
inline void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        const int key = int(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

inline void pressEnter(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_Return);
}

// A shown form; fields are placed with add<txtCampo>.
class ShownForm {
public:
    ShownForm()
    {
        form.load();
        form.widget()->resize(600, 300);
    }
    bool show()
    {
        form.show();
        return QTest::qWaitForWindowActive(form.widget());
    }
    template <class T = Kv_CTRL::txtCampo>
    T* add(const QString& name)
    {
        return form.add<T>(name);
    }
    template <class T = Kv_CTRL::txtCampo>
    T* add(const QString& name, const host::PropertyBag& bag)
    {
        return form.add<T>(name, bag);
    }
    host::Form form;
};

} // namespace fieldtest
