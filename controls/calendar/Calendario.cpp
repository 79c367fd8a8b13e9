#include "controls/calendar/Calendario.h"

#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/services/Services.h"
#include "host/services/Shared.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdFont.h"
#include "host/widgets/Accessible.h"
#include "library/core/Kv_Module.h"
#include "library/core/Library.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace Kv_CTRL {

namespace {

constexpr float CellLeft = 60, CellStep = 405, CellWidth = 390, CellHeight = 330;
constexpr float HeaderTop = 720, GridTop = 1110, RowStep = 360;

struct Cabecalho {
    short column;
    const char* caption;
    const char* toolTip;
};

// The weekday headers by array index: Saturday holds index 1 although it stands in the last
// column, so a header is found by its index, never by its column.
const std::array<Cabecalho, 7>& cabecalhos()
{
    static const std::array<Cabecalho, 7> table = {{
        {0, "Dom", "Domingo"},
        {6, "Sab", "S\u00e1bado"},
        {1, "Seg", "Segunda-Feira"},
        {2, "Ter", "Ter\u00e7a-Feira"},
        {3, "Qua", "Quarta-Feira"},
        {4, "Qui", "Quinta-Feira"},
        {5, "Sex", "Sexta-Feira"},
    }};
    return table;
}

host::FontRef designFont(const char* face, double size)
{
    // Each widget has its own font object, as each was given one in the designer.
    return host::StdFont::create(QString::fromLatin1(face), size, true);
}

// The date day/month/year, or nothing where the day/month/year text would not convert: no such
// day, or a year that is not a whole number the runtime's dates can hold.
std::optional<host::Date> dataValida(int dia, int mes, float ano)
{
    if (!(ano >= 100 && ano <= 9999) || ano != std::floor(ano)) return std::nullopt;
    const QDate date(int(ano), mes, dia);
    if (!date.isValid()) return std::nullopt;
    return host::Date::fromQDate(date);
}

host::Date dataDe(int dia, int mes, float ano)
{
    const std::optional<host::Date> date = dataValida(dia, mes, ano);
    if (!date) host::raiseError(host::Err::TypeMismatch);
    return *date;
}

constexpr short vbKeyEscape = 27, vbKeyReturn = 13, vbKey0 = 48, vbKey9 = 57;

// The characters that name a cell: typed into a list they would also pick the first item that
// starts with them ("2" jumps to 2000), changing the month under the user's hands.
bool digito(short ascii)
{
    return ascii >= vbKey0 && ascii <= vbKey9;
}

bool fimDeSemana(short weekday)
{
    return weekday == 1 || weekday == 7;
}

} // namespace

void Calendario::Ui::clear()
{
    cmbMes = nullptr;
    cmbAno = nullptr;
    Label1 = nullptr;
    Label2 = nullptr;
    lblNomeDia.reset();
    lblDia.reset();
}

Calendario::Calendario(QObject* parent) : host::Form(parent)
{
    setObjectName(QStringLiteral("Calendario"));
    put_Caption(QStringLiteral("Caled\u00e1rio"));
    put_Width(2940);
    put_Height(3300);
    put_KeyPreview(true);
    // The widgets go with the window; the remembered values stay.
    connect(this, &host::Form::unloaded, this, [this] { ui.clear(); });
}

Calendario::~Calendario() = default;

Calendario& Calendario::instance()
{
    return host::shared<Calendario>();
}

QStringList Calendario::nomesDosMeses()
{
    return {QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Mar\u00e7o"),
            QStringLiteral("Abril"),   QStringLiteral("Maio"),      QStringLiteral("Junho"),
            QStringLiteral("Julho"),   QStringLiteral("Agosto"),    QStringLiteral("Setembro"),
            QStringLiteral("Outubro"), QStringLiteral("Novembro"),  QStringLiteral("Dezembro")};
}

QStringList Calendario::anosDaLista()
{
    QStringList years;
    for (int year = PrimeiroAno; year <= UltimoAno; ++year)
        years.append(QString::number(year));
    return years;
}

void Calendario::Form_Load()
{
    m_celulaClicada = 0;
    createControls();
    wireEvents();
    // The shared form keeps the module in use while its window exists.
    trackModuleObject(widget());
    loadSteps();
}

void Calendario::wireEvents()
{
    host::connectGuarded(ui.cmbMes, &host::ComboBox::Click, this, &Calendario::cmbMes_Click);
    host::connectGuarded(ui.cmbAno, &host::ComboBox::Click, this, &Calendario::cmbAno_Click);
    host::connectGuarded(ui.cmbMes, &host::ComboBox::KeyPress, this, &Calendario::cmbMes_KeyPress);
    host::connectGuarded(ui.cmbAno, &host::ComboBox::KeyPress, this, &Calendario::cmbAno_KeyPress);
    ui.lblDia->onMouseDown([this](short Index, short& Button, short& Shift, float& X, float& Y) {
        lblDia_MouseDown(Index, Button, Shift, X, Y);
    });
    ui.lblDia->onMouseUp(
        [this](short Index, short&, short&, float&, float&) { lblDia_MouseUp(Index); });
    ui.lblDia->onDblClick([this](short Index) { lblDia_DblClick(Index); });
}

void Calendario::loadSteps()
{
    // A failing step is reported with the lists' selections and loading goes on with the next
    // one: with today's year beyond the list the form still opens, on the designed grid.
    bool quiet = false;
    host::ResumeNext onError([&](const host::RuntimeError& e) {
        if (e.number() <= 0) {
            quiet = true;
            return;
        }
        const auto selected = [](const host::ComboBox* list) {
            return QString::number(list ? list->get_ListIndex() : -1);
        };
        host::MsgBox(QStringLiteral("Load : %1 %2\ncmbMes : %3  cmbAno %4")
                         .arg(QString::number(e.number()), e.description(), selected(ui.cmbMes),
                              selected(ui.cmbAno)),
                     0);
    });
    const auto run = [&](auto&& statement) {
        if (!quiet) onError(statement);
    };

    host::ComboBox* mes = ui.cmbMes;
    host::ComboBox* ano = ui.cmbAno;
    run([&] { mes->Clear(); });
    for (const QString& nome : nomesDosMeses())
        run([&] { mes->AddItem(nome); });
    // Raises Click, whose refresh waits for the year list.
    run([&] { mes->put_ListIndex(short(host::Month(host::Today()) - 1)); });
    run([&] { ano->Clear(); });
    for (const QString& year : anosDaLista())
        run([&] { ano->AddItem(year); });
    // Raises Click, which lays out today's month; fails for a year the list does not hold.
    run([&] { ano->put_ListIndex(short(host::Year(host::Today()) - PrimeiroAno)); });
    for (short index = PrimeiraCelula; index <= UltimaCelula; ++index)
        run([&] {
            ui.lblDia->item(index)->put_ToolTipText(
                QStringLiteral("Click-Duplo aqui para confirmar"));
        });
    run([&] { Atualiza(); });
}

void Calendario::createControls()
{
    QWidget* window = widget();
    ui.clear();

    // Created first so that they lead the tab order: month list, then year list.
    ui.cmbMes = new host::ComboBox(window, QStringLiteral("cmbMes"));
    ui.cmbMes->put_Style(2);
    ui.cmbMes->putref_Font(designFont("MS Sans Serif", 8.25));
    ui.cmbMes->Move(30, 285, 1905, 315);

    ui.cmbAno = new host::ComboBox(window, QStringLiteral("cmbAno"));
    ui.cmbAno->put_Style(2);
    ui.cmbAno->putref_Font(designFont("MS Sans Serif", 8.25));
    ui.cmbAno->Move(1950, 285, 915, 315);

    ui.Label1 = new host::Label(window, QStringLiteral("Label1"));
    ui.Label1->putref_Font(designFont("MS Sans Serif", 8.25));
    ui.Label1->put_AutoSize(true);
    ui.Label1->put_Caption(QStringLiteral("M\u00eas"));
    ui.Label1->Move(45, 60);

    ui.Label2 = new host::Label(window, QStringLiteral("Label2"));
    ui.Label2->putref_Font(designFont("MS Sans Serif", 8.25));
    ui.Label2->put_AutoSize(true);
    ui.Label2->put_Caption(QStringLiteral("Ano"));
    ui.Label2->Move(1950, 75);

    ui.lblNomeDia.emplace(window, QStringLiteral("lblNomeDia"));
    for (short index = 0; index < short(cabecalhos().size()); ++index) {
        const Cabecalho& h = cabecalhos()[size_t(index)];
        host::Label* header = ui.lblNomeDia->Load(index);
        header->putref_Font(designFont("Times New Roman", 8.25));
        header->put_Alignment(2);
        header->put_BackColor(CorAzul);
        header->put_ForeColor(CorAmarela);
        header->put_Caption(QString::fromUtf8(h.caption));
        header->put_ToolTipText(QString::fromUtf8(h.toolTip));
        header->Move(CellLeft + CellStep * float(h.column), HeaderTop, CellWidth, CellHeight);
    }

    ui.lblDia.emplace(window, QStringLiteral("lblDia"));
    for (short index = PrimeiraCelula; index <= UltimaCelula; ++index) {
        const int row = (index - 1) / 7, column = (index - 1) % 7;
        host::Label* cell = ui.lblDia->Load(index);
        cell->putref_Font(designFont("MS Sans Serif", 12));
        cell->put_Alignment(2);
        cell->put_BackColor(host::SystemColor::WindowBackground);
        cell->put_ForeColor(host::SystemColor::WindowText);
        cell->put_Caption(QStringLiteral("00"));
        cell->Move(CellLeft + CellStep * float(column), GridTop + RowStep * float(row), CellWidth,
                   CellHeight);
    }
    describeForAccessibility();
}

void Calendario::describeForAccessibility()
{
    // The lists are labelled by the captions above them (a list's own name is its current
    // item); the grid reads as a table of days under the weekday headers, in their columns
    // (not in their array order).
    ui.Label1->setBuddy(ui.cmbMes);
    ui.Label2->setBuddy(ui.cmbAno);
    host::AccessibleGrid grid;
    grid.name = QStringLiteral("Dias do m\u00eas");
    grid.columns = 7;
    grid.headers.resize(7);
    for (short index = 0; index < short(cabecalhos().size()); ++index)
        grid.headers[cabecalhos()[size_t(index)].column] = ui.lblNomeDia->item(index);
    for (short index = PrimeiraCelula; index <= UltimaCelula; ++index)
        grid.cells << ui.lblDia->item(index);
    grid.selected = [this] { return diaSelecionado() > 0 ? cDiaSel - PrimeiraCelula : -1; };
    host::describeGrid(widget(), std::move(grid));
}

host::Label* Calendario::celula(short index) const
{
    if (index < PrimeiraCelula || index > UltimaCelula || !ui.lblDia || !ui.lblDia->exists(index))
        return nullptr;
    return ui.lblDia->item(index);
}

short Calendario::DiasDoMes(host::Date data)
{
    switch (host::Month(data)) {
    case 2:
        // The year's last digits decide, with no century exception: exact from 1901 to 2099.
        return host::Year(data) % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

void Calendario::Atualiza()
{
    // A failing statement is reported with the values in use, and the refresh goes on with the
    // next one, so that the grid shows as much of the month as could be worked out.
    bool quiet = false;
    host::ResumeNext onError([&](const host::RuntimeError& e) {
        if (e.number() <= 0) {
            quiet = true;
            return;
        }
        host::MsgBox(QStringLiteral("Atualiza : %1 %2\ncMes : %3  cAno %4")
                         .arg(QString::number(e.number()), e.description(), QString::number(cMes),
                              host::CStr(host::Variant(cAno))),
                     0);
    });
    const auto run = [&](auto&& statement) {
        if (!quiet) onError(statement);
    };

    host::ComboBox* mes = ui.cmbMes;
    host::ComboBox* ano = ui.cmbAno;
    if (!mes || !ano || !ui.lblDia) return;
    // The year list's first item (1900) counts as no selection: the grid stays as it is.
    if (mes->get_ListIndex() < 0 || ano->get_ListIndex() < 1) return;

    run([&] { cMes = short(mes->get_ListIndex() + 1); });
    run([&] { cAno = host::CSng(host::Variant(ano->get_List(ano->get_ListIndex()))); });

    host::Date primeiro;
    short dias = 0, semana = 0, hoje = 0, diaDaSemana = 0;
    run([&] { primeiro = dataDe(1, cMes, cAno); });
    run([&] { dias = DiasDoMes(primeiro); });
    for (short index = PrimeiraCelula; index <= UltimaCelula; ++index) {
        run([&] {
            host::Label* cell = ui.lblDia->item(index);
            cell->put_Caption(QString());
            cell->put_BackColor(host::SystemColor::ButtonFace);
            cell->put_Enabled(false);
            // The selected cell loses its blue here: its white text would go unread on the
            // button face.
            if (index == cDiaSel) cell->put_ForeColor(host::SystemColor::ButtonText);
        });
    }
    run([&] { semana = host::Weekday(primeiro); });
    run([&] { hoje = host::Day(host::Today()); });

    for (short dia = 1; dia <= dias; ++dia) {
        const short index = short(semana + dia - 1);
        run([&] {
            host::Label* cell = ui.lblDia->item(index);
            cell->put_Caption(QString::number(dia));
            cell->put_Enabled(true);
        });
        run([&] { diaDaSemana = host::Weekday(dataDe(dia, cMes, cAno)); });
        run([&] {
            host::Label* cell = ui.lblDia->item(index);
            // Only the day number is compared: every month with that day shows the marker.
            if (dia == hoje) {
                cDiaHoje = index;
                if (fimDeSemana(diaDaSemana)) {
                    cell->put_BackColor(CorVerde);
                    cell->put_ForeColor(host::SystemColor::ButtonText);
                } else {
                    cell->put_BackColor(CorAmarela);
                }
            } else if (fimDeSemana(diaDaSemana)) {
                cell->put_BackColor(CorFimDeSemana);
                cell->put_ForeColor(CorAmarela);
            }
        });
    }
    host::notifyGridChange(widget());
}

void Calendario::SelecionaDia(short index)
{
    // Cells that do not exist (no marker found yet, an index from the keyboard beyond the grid,
    // the form unloaded) are passed over: the values are kept all the same.
    if (cDiaSel > 0) {
        if (host::Label* previous = celula(cDiaSel)) {
            previous->put_BackColor(host::SystemColor::ButtonFace);
            previous->put_ForeColor(host::SystemColor::ButtonText);
        }
        if (host::Label* marker = celula(cDiaHoje)) {
            if (marker->get_BackColor() == CorFimDeSemana) {
                marker->put_BackColor(CorVerde);
                marker->put_ForeColor(host::SystemColor::ButtonText);
            } else {
                marker->put_BackColor(CorAmarela);
            }
        }
    }
    if (cDiaSel != index) {
        if (host::Label* cell = celula(index)) {
            cell->put_BackColor(CorAzul);
            cell->put_ForeColor(host::SystemColor::HighlightText);
        }
        cDiaSel = index;
    }
    host::notifyGridChange(widget());
}

// ---------------------------------------------------------------- events

void Calendario::cmbMes_Click()
{
    Atualiza();
}

void Calendario::cmbAno_Click()
{
    Atualiza();
}

void Calendario::cmbMes_KeyPress(short& KeyAscii)
{
    if (digito(KeyAscii)) KeyAscii = 0;
}

void Calendario::cmbAno_KeyPress(short& KeyAscii)
{
    if (digito(KeyAscii)) KeyAscii = 0;
}

void Calendario::lblDia_MouseDown(short Index, short& /*Button*/, short& /*Shift*/, float& /*X*/,
                                  float& /*Y*/)
{
    if (Index != m_celulaClicada) m_celulaClicada = 0;
    SelecionaDia(Index);
}

void Calendario::lblDia_MouseUp(short Index)
{
    m_celulaClicada = Index;
}

void Calendario::lblDia_DblClick(short Index)
{
    if (Index == m_celulaClicada) Confirma(Index);
}

short Calendario::celulaDoDia(int dia) const
{
    if (dia < 1) return 0;
    const QString caption = QString::number(dia);
    for (short index = PrimeiraCelula; index <= UltimaCelula; ++index)
        if (const host::Label* cell = celula(index); cell && cell->get_Caption() == caption)
            return index;
    return 0;
}

int Calendario::diaSelecionado() const
{
    const host::Label* cell = celula(cDiaSel);
    return cell && cell->get_BackColor() == CorAzul ? cell->get_Caption().toInt() : 0;
}

void Calendario::marcaDia(int dia)
{
    const short index = celulaDoDia(dia);
    if (index == 0) {
        // A second selection of the selected cell clears its mark.
        if (diaSelecionado() > 0) SelecionaDia(cDiaSel);
        return;
    }
    if (diaSelecionado() == dia) return;
    // A remembered cell shown plain (after a month change or a second press) is marked afresh:
    // selecting it again would only clear it.
    if (index == cDiaSel) cDiaSel = 0;
    SelecionaDia(index);
}

void Calendario::moveDia(int meses, int dias)
{
    if (!dataValida(1, cMes, cAno)) return; // no month laid out yet
    const int dia = diaSelecionado();
    if (dia == 0 && meses == 0) {
        const int hoje = host::Day(host::Today());
        marcaDia(celulaDoDia(hoje) ? hoje : 1);
        return;
    }
    const QDate to = QDate(int(cAno), cMes, std::max(dia, 1)).addMonths(meses).addDays(dias);
    if (to.year() <= PrimeiroAno || to.year() > UltimoAno) return;
    if (to.month() != cMes || to.year() != int(cAno)) {
        // Each list raises Click, which lays out the month chosen so far.
        ui.cmbAno->put_ListIndex(short(to.year() - PrimeiroAno));
        ui.cmbMes->put_ListIndex(short(to.month() - 1));
    }
    if (dia > 0) marcaDia(to.day());
}

void Calendario::Form_KeyDown(short& KeyCode, short& Shift)
{
    constexpr short vbKeyTab = 9, vbKeyPageUp = 33, vbKeyPageDown = 34, vbKeyLeft = 37,
                    vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40;
    switch (KeyCode) {
    case vbKeyEscape:
        unload();
        break;
    case vbKeyTab:
        return; // moves between the lists
    case vbKeyLeft:
        moveDia(0, -1);
        break;
    case vbKeyRight:
        moveDia(0, 1);
        break;
    case vbKeyUp:
        moveDia(0, -7);
        break;
    case vbKeyDown:
        moveDia(0, 7);
        break;
    case vbKeyPageUp:
        moveDia(-1, 0);
        break;
    case vbKeyPageDown:
        moveDia(1, 0);
        break;
    default:
        break;
    }
    if (KeyCode >= vbKeyPageUp && KeyCode <= vbKeyDown) cDigitado = 0;
    KeyCode = 0;
    Shift = 0;
}

void Calendario::Form_KeyPress(short& KeyAscii)
{
    if (digito(KeyAscii)) {
        // The digit extends the number while that still names a day of the month on screen;
        // otherwise it starts a new one. A number that names no day (0) selects nothing.
        const int digit = KeyAscii - vbKey0;
        const int extended = cDigitado * 10 + digit;
        cDigitado = short(extended >= 1 && celulaDoDia(extended) ? extended : digit);
        marcaDia(cDigitado);
        return;
    }
    // Enter confirms only what the user sees selected: a mark lost to a month change, cleared by
    // a second press or left from an earlier opening confirms nothing.
    if (KeyAscii == vbKeyReturn && diaSelecionado() > 0) Confirma(cDiaSel);
    cDigitado = 0;
}

void Calendario::Confirma(short index)
{
    // The month and year of the last completed refresh are those of the grid on screen, also
    // after the year list was moved to 1900.
    const host::Label* cell = celula(index);
    if (!cell) return;
    bool isNumber = false;
    const int dia = cell->get_Caption().toInt(&isNumber);
    if (!isNumber) return;
    const std::optional<host::Date> date = dataValida(dia, cMes, cAno);
    if (!date) return;
    Kv_Module::DataEscolhida() = *date;
    unload();
}

} // namespace Kv_CTRL
