#pragma once
// Calendario: the library's modal month calendar. One month as 42 day cells under seven weekday
// headers, chosen with a month list and a year list; a double-clicked day is handed back through
// Kv_Module::DataEscolhida. One form object per user-interface thread.

#include "host/forms/Form.h"
#include "host/value/Date.h"
#include "host/value/OleColor.h"
#include "host/widgets/ComboBox.h"
#include "host/widgets/ControlArray.h"
#include "host/widgets/Label.h"
#include "library/core/Library.h"

#include <QPointer>
#include <QStringList>
#include <optional>

namespace Kv_CTRL {

class Calendario : public host::Form {
    Q_OBJECT
    KV_CTRL_PROJECT
public:
    // The cell looks the grid paints (OLE_COLOR values).
    static constexpr host::OleColor CorFimDeSemana = 0x008080FFu; // weekend day
    static constexpr host::OleColor CorAmarela = 0x0000FFFFu;     // yellow: weekday marker, text
    static constexpr host::OleColor CorVerde = 0x00008000u;       // marker day on a weekend
    static constexpr host::OleColor CorAzul = 0x00FF0000u;        // selected cell, header back

    static constexpr short PrimeiraCelula = 1;
    static constexpr short UltimaCelula = 42;
    static constexpr short PrimeiroAno = 1900; // first item of the year list
    static constexpr short UltimoAno = 2050;

    explicit Calendario(QObject* parent = nullptr);
    ~Calendario() override;

    // The process's form object, created on first use and released when the application ends.
    // Its members carry over from one opening to the next.
    static Calendario& instance();

    // The items of the two lists: the month names in calendar order, the years as decimal text.
    static QStringList nomesDosMeses();
    static QStringList anosDaLista();

    // Lays the month and year selected in the lists into the cells and colours them. Does
    // nothing while a list has no selection or the year list shows its first item.
    void Atualiza();
    // The number of days of the month holding `data` (February: 29 in years divisible by 4).
    static short DiasDoMes(host::Date data);
    // Moves the selection mark to cell `index`; an index that names no cell is only remembered.
    void SelecionaDia(short index);

    // The form's remembered values, kept across unloading (0 until set).
    short cDiaHoje = 0;  // the cell showing today's day number
    short cMes = 0;      // the month shown, 1..12
    float cAno = 0;      // the year shown
    short cDiaSel = 0;   // the selected cell
    short cDigitado = 0; // the day number typed on the keyboard so far

    // The window's widgets; empty while the form is unloaded.
    struct Ui {
        QPointer<host::ComboBox> cmbMes;
        QPointer<host::ComboBox> cmbAno;
        QPointer<host::Label> Label1;
        QPointer<host::Label> Label2;
        std::optional<host::ControlArray<host::Label>> lblNomeDia; // 0..6, Saturday is 1
        std::optional<host::ControlArray<host::Label>> lblDia;     // 1..42, row by row
        void clear();
    } ui;

    // The day cell `index`, or null when there is none (index outside 1..42, form unloaded).
    host::Label* celula(short index) const;

protected:
    // Builds the window, wires its events and opens on today's month and year.
    void Form_Load() override;
    // Escape closes; arrows move the selected day by a day or a week, Page Up and Page Down
    // change the month. Every key but Tab is then stopped so that the lists never act on it.
    void Form_KeyDown(short& KeyCode, short& Shift) override;
    // Digits typed in a row select the day they name; Enter confirms the day selected on
    // screen; any other character ends the typed number.
    void Form_KeyPress(short& KeyAscii) override;

private:
    void createControls();
    void describeForAccessibility();
    void wireEvents();
    void loadSteps();
    // Stores the date of cell `index` in DataEscolhida and closes; a cell that shows no day of
    // the month last laid out (blank, or "00" before any refresh) confirms nothing.
    void Confirma(short index);
    // The cell showing day `dia` of the month on screen, 0 when none does.
    short celulaDoDia(int dia) const;
    // The day of the cell selected on screen, 0 when no cell shows the selection.
    int diaSelecionado() const;
    // Marks the cell of day `dia` as selected (0: clears the mark on screen).
    void marcaDia(int dia);
    // Moves the selected day by `meses` months and `dias` days, turning the lists when the
    // day lies in another month; with no day selected, selects today's day or the 1st.
    void moveDia(int meses, int dias);

    void cmbMes_Click();
    void cmbAno_Click();
    void cmbMes_KeyPress(short& KeyAscii);
    void cmbAno_KeyPress(short& KeyAscii);
    void lblDia_MouseDown(short Index, short& Button, short& Shift, float& X, float& Y);
    void lblDia_MouseUp(short Index);
    void lblDia_DblClick(short Index);

    // The cell on which the last click was completed in this opening: a double-click counts
    // only there, so the second click of a double-click on the field's button, landing on the
    // calendar it opened, picks nothing.
    short m_celulaClicada = 0;
};

} // namespace Kv_CTRL
