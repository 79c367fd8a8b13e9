// 1,000 host text boxes created and shown on a window, against 1,000 QLineEdits on a plain QWidget.

#include "BenchUtil.h"

#include "host/widgets/Label.h"
#include "host/widgets/TextBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <memory>

namespace {

template <class Make>
void showMany(Make make)
{
    auto top = std::make_unique<QWidget>();
    top->resize(1000, 800);
    for (int i = 0; i < 1000; ++i) {
        QWidget* w = make(top.get(), i);
        w->setGeometry((i % 20) * 50, (i / 20) * 16, 48, 15);
    }
    top->show();
    QApplication::processEvents();
    bench::keep(top);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bench::compare(
        "textbox_create_show_1000", 1.3,
        [] {
            showMany([](QWidget* parent, int i) {
                auto* box = new host::TextBox(parent, QStringLiteral("txt%1").arg(i));
                box->put_Text(QStringLiteral("texto %1").arg(i));
                return box;
            });
        },
        [] {
            showMany([](QWidget* parent, int i) {
                auto* edit = new QLineEdit(parent);
                edit->setObjectName(QStringLiteral("txt%1").arg(i));
                edit->setText(QStringLiteral("texto %1").arg(i));
                return edit;
            });
        });
    bench::compare(
        "label_create_show_1000", 1.3,
        [] {
            showMany([](QWidget* parent, int i) {
                auto* label = new host::Label(parent, QStringLiteral("lbl%1").arg(i));
                label->put_Caption(QStringLiteral("rótulo %1").arg(i));
                return label;
            });
        },
        [] {
            showMany([](QWidget* parent, int i) {
                auto* label = new QLabel(parent);
                label->setObjectName(QStringLiteral("lbl%1").arg(i));
                label->setText(QStringLiteral("rótulo %1").arg(i));
                return label;
            });
        });
    return 0;
}
