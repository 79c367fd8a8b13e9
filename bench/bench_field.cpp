// txtCampo against its Qt-native twins: 200 fields created and shown vs 200 QLineEdit +
// QToolButton composites; 10,000 characters typed vs a QLineEdit; Enter on a Money field vs a
// QLocale parse and format. Also the time per field of a 200-field form saved to and loaded from
// a form file, and the memory per field.

#include "BenchUtil.h"

#include "controls/field/txtCampo.h"
#include "host/persist/FormFile.h"
#include "host/persist/PropertyBag.h"
#include "host/widgets/TextBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QToolButton>
#include <malloc.h>
#include <memory>

namespace {

using Kv_CTRL::txtCampo;

constexpr int Fields = 200;

// The twin of a field with a find button: a line edit and a tool button side by side.
QWidget* makeComposite(QWidget* parent, int i)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QStringLiteral("txt%1").arg(i));
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* edit = new QLineEdit(w);
    edit->setText(QStringLiteral("texto %1").arg(i));
    auto* button = new QToolButton(w);
    button->setText(QStringLiteral("?"));
    button->setToolTip(QStringLiteral("Localizar Registros"));
    button->setVisible(false);
    layout->addWidget(edit);
    layout->addWidget(button);
    return w;
}

QWidget* box(const txtCampo* field)
{
    return field->findChild<host::TextBox*>(QStringLiteral("TextCampo"));
}

QWidget* makeField(QWidget* parent, int i)
{
    auto* field = host::UserControl::create<txtCampo>(parent, QStringLiteral("txt%1").arg(i));
    field->put_Text(QStringLiteral("texto %1").arg(i));
    return field;
}

template <class Make>
std::unique_ptr<QWidget> showMany(Make make)
{
    auto top = std::make_unique<QWidget>();
    top->resize(1200, 900);
    for (int i = 0; i < Fields; ++i) {
        QWidget* w = make(top.get(), i);
        w->setGeometry((i % 5) * 230, (i / 5) * 22, 224, 21);
    }
    top->show();
    QApplication::processEvents();
    return top;
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

template <class Make>
double bytesPerWidget(Make make)
{
    const size_t before = heapInUse();
    auto top = showMany(make);
    const size_t after = heapInUse();
    return double(after - before) / Fields;
}

void typeInto(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        const int key = int(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void pressEnter(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &release);
}

QString typedText()
{
    QString text;
    const QString words = QStringLiteral("rua das flores 123 apto 45 centro ");
    while (text.size() < 10000)
        text += words;
    text.truncate(10000);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    bench::compare(
        "field_create_show_200", 1.2, [] { bench::keep(showMany(makeField)); },
        [] { bench::keep(showMany(makeComposite)); });

    {
        const double ours = bytesPerWidget(makeField);
        const double twin = bytesPerWidget(makeComposite);
        bench::row("field_memory_per_field", ours, twin, "B", 1.2);
    }

    // 10,000 characters typed into a Character field (upper-casing on) and into a QLineEdit.
    {
        const QString text = typedText();
        QWidget top;
        auto* field = host::UserControl::create<txtCampo>(&top, QStringLiteral("txtTexto"));
        field->put_Width(9000);
        auto* edit = new QLineEdit(&top);
        edit->setGeometry(0, 30, box(field)->width(), box(field)->height());
        edit->setFont(box(field)->font()); // the same text to lay out on both sides
        top.show();
        QApplication::processEvents();
        // Typed as 100 lines of 100 characters, each box cleared in between, so that the line
        // edit's own relayout of an ever longer text does not hide the cost per key.
        bench::compare(
            "field_type_10000_chars", 1.2,
            [&] {
                for (qsizetype at = 0; at < text.size(); at += 100) {
                    field->put_Text(QString());
                    typeInto(box(field), text.mid(at, 100));
                }
            },
            [&] {
                for (qsizetype at = 0; at < text.size(); at += 100) {
                    edit->clear();
                    typeInto(edit, text.mid(at, 100));
                }
            });
    }

    // Enter on a Money field, 2,000 times, against a line edit that receives the same Enter key
    // and reads and writes the amount with QLocale.
    {
        QWidget top;
        auto* field = host::UserControl::create<txtCampo>(&top, QStringLiteral("txtValor"));
        field->put_TypeInput(Kv_CTRL::CharType::Money);
        auto* edit = new QLineEdit(&top);
        edit->setGeometry(0, 30, box(field)->width(), box(field)->height());
        edit->setFont(box(field)->font()); // the same text to lay out on both sides
        top.show();
        QApplication::processEvents();
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter); // amounts stand right
        const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
        const QLocale c = QLocale::c();
        // The twin gets the same real Enter key and reads and writes the amount in its handler.
        QObject::connect(edit, &QLineEdit::returnPressed, edit, [&] {
            bool ok = false;
            const double value = c.toDouble(edit->text(), &ok);
            if (ok) edit->setText(ptBR.toString(value, 'f', 2));
        });
        bench::compare(
            "field_enter_money_2000", 1.2,
            [&] {
                box(field)->setFocus(); // Enter reaches a focused box, with its input method
                for (int i = 0; i < 2000; ++i) {
                    field->put_Text(QStringLiteral("1234.5"));
                    pressEnter(box(field));
                }
            },
            [&] {
                edit->setFocus();
                for (int i = 0; i < 2000; ++i) {
                    edit->setText(QStringLiteral("1234.5"));
                    pressEnter(edit);
                }
            });
    }

    // A 200-field form saved to a form file and loaded back (no twin: time per field).
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bench.kvform"));
        auto top = showMany(makeField);
        auto describe = [&] {
            host::FormDescription d;
            d.name = QStringLiteral("frmBench");
            d.width = 18000;
            d.height = 13500;
            for (txtCampo* f : top->findChildren<txtCampo*>(Qt::FindDirectChildrenOnly)) {
                host::ControlRecord r;
                r.className = QStringLiteral("Kv_CTRL.txtCampo");
                r.name = f->objectName();
                r.width = f->get_Width();
                r.height = f->get_Height();
                f->saveTo(r.properties);
                d.controls << r;
            }
            return d;
        };
        std::vector<double> save, load;
        for (int run = 0; run < 7; ++run) {
            save.push_back(bench::timeOnce([&] { host::FormFile::write(describe(), path); }));
            load.push_back(bench::timeOnce([&] {
                const host::FormDescription d = host::FormFile::read(path);
                QWidget form;
                for (const host::ControlRecord& r : d.controls)
                    host::UserControl::create<txtCampo>(&form, r.name, &r.properties);
                form.show();
                QApplication::processEvents();
            }));
        }
        bench::row("field_form_save_200_per_field", bench::medianOf(save) * 1000.0 / Fields, 0,
                   "us", 0);
        bench::row("field_form_load_200_per_field", bench::medianOf(load) * 1000.0 / Fields, 0,
                   "us", 0);
    }
    return 0;
}
