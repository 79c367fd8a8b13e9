#include "library/about/About.h"

#include "controls/verticaltext/VericalText.h"
#include "controls/xp/xpcmdbutton.h"
#include "host/services/Guard.h"
#include "host/services/Shared.h"
#include "host/value/StdFont.h"
#include "host/widgets/Label.h"
#include "host/widgets/LineControl.h"
#include "host/widgets/Shape.h"

namespace Kv_CTRL {

namespace {

constexpr host::OleColor FormBack = host::SystemColor::HighlightText; // 0x8000000E
constexpr host::OleColor PanelFill = 0xFFC0C0;                        // RGB(192, 192, 255)
constexpr host::OleColor Blue = 0xFF0000;                             // RGB(0, 0, 255)
constexpr short vbKeyF = 70;
constexpr short vbAltMask = 4;

} // namespace

void ShowAbout()
{
    // No owner form: the dialog is centred on the screen.
    About::instance().showModal(nullptr);
}

About::About(QObject* parent) : host::Form(parent)
{
    setObjectName(QStringLiteral("About"));
    put_Caption(QString());
    put_BackColor(FormBack);
    put_Width(6210);
    put_Height(3930);
    put_KeyPreview(true);
}

About::~About() = default;

About& About::instance()
{
    return host::shared<About>();
}

host::Label* About::label(const char* name, float left, float top, float width, float height,
                          const QString& caption)
{
    auto* l = new host::Label(widget(), QString::fromLatin1(name));
    l->Move(left, top, width, height);
    l->put_BackColor(FormBack);
    l->put_Caption(caption);
    return l;
}

void About::Form_Load()
{
    ui.VericalText1 = add<VericalText>(QStringLiteral("VericalText1"));
    ui.VericalText1->Extender().Move(0, 0, 690, 3960);
    ui.VericalText1->put_zTexto(QStringLiteral("Kv Sistemas"));
    ui.VericalText1->put_zDirecao(zOpOrient::ParaBaixo);
    ui.VericalText1->put_zDegradee(true);
    ui.VericalText1->put_BackColor(host::SystemColor::ButtonFace);
    ui.VericalText1->put_ForeColor(host::SystemColor::HighlightText);
    ui.VericalText1->putref_Font(host::StdFont::create(QStringLiteral("Arial Black"), 18));

    ui.Label1 = label("Label1", 840, 120, 5200, 330, QStringLiteral("Kv Sistemas"));
    ui.Label1->putref_Font(host::StdFont::create(QStringLiteral("MS Sans Serif"), 12, true));
    ui.Label2 = label("Label2", 900, 525, 5100, 225,
                      QStringLiteral("Controles de edição para formulários de cadastro"));
    ui.Label3 = label("Label3", 900, 750, 5100, 225, QStringLiteral("Biblioteca Kv_CTRL"));
    ui.Label4 = label("Label4", 900, 975, 5100, 225, QStringLiteral("Versão 2.02"));

    ui.Shape1 = new host::Shape(widget(), QStringLiteral("Shape1"));
    ui.Shape1->Move(750, 1710, 5400, 1500);
    ui.Shape1->put_BorderColor(Blue);
    ui.Shape1->put_FillColor(PanelFill);
    ui.Shape1->put_FillStyle(0); // solid

    ui.Line1 = new host::LineControl(widget(), QStringLiteral("Line1"));
    ui.Line1->put_X1(885);
    ui.Line1->put_Y1(2100);
    ui.Line1->put_X2(6030);
    ui.Line1->put_Y2(2100);

    const auto onPanel = [this](const char* name, float top, const QString& caption) {
        host::Label* l = label(name, 885, top, 5145, 225, caption);
        l->put_BackColor(PanelFill);
        return l;
    };
    ui.Label5 = onPanel("Label5", 1815, QStringLiteral("Kv Sistemas - Controle de Edição - V2.02"));
    ui.Label6 = onPanel("Label6", 2205,
                        QStringLiteral("Campo tipado, calendário, botões, caixas de seleção,"));
    ui.Label7 =
        onPanel("Label7", 2430, QStringLiteral("indicador de progresso e título vertical."));
    ui.Label9 = onPanel("Label9", 2655, QStringLiteral("Feito para quem digita o dia inteiro."));
    ui.Label10 = onPanel("Label10", 2880, QStringLiteral("Obrigado por usar o Kv_CTRL!"));
    ui.Label10->put_ForeColor(Blue);
    ui.Label10->putref_Font(host::StdFont::create(QStringLiteral("MS Sans Serif"), 12, true));
    ui.Label10->Move(885, 2850, 5145, 300);

    ui.cmdFechar = add<xpcmdbutton>(QStringLiteral("cmdFechar"));
    ui.cmdFechar->Extender().Move(3975, 3390, 2085, 360);
    ui.cmdFechar->put_Caption(QStringLiteral("&Fechar"));
    ui.cmdFechar->putref_Font(host::StdFont::create(QStringLiteral("MS Sans Serif"), 8.25));
    host::connectGuarded(ui.cmdFechar.data(), &xpcmdbutton::Click, this, &About::cmdFechar_Click);
}

void About::cmdFechar_Click()
{
    unload();
}

void About::Form_KeyDown(short& KeyCode, short& Shift)
{
    if (KeyCode == vbKeyF && Shift == vbAltMask) cmdFechar_Click();
}

} // namespace Kv_CTRL
