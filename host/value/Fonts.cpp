#include "host/value/Fonts.h"

#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"
#include "host/value/Variant.h"

#include <QCoreApplication>
#include <QMetaType>
#include <algorithm>
#include <array>

namespace host {

namespace {

struct Substitution {
    const char* face;
    const char* family;
};

constexpr std::array<Substitution, 8> Substitutions = {{
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Verdana", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"Arial Black", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
}};

const Substitution* findSubstitution(const QString& face)
{
    const QString trimmed = face.trimmed();
    for (const Substitution& s : Substitutions) {
        if (trimmed.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) return &s;
    }
    return nullptr;
}

bool isArialBlack(const QString& face)
{
    return face.trimmed().compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString qtFamilyFor(const QString& face)
{
    const Substitution* s = findSubstitution(face);
    return s ? QString::fromLatin1(s->family) : face;
}

QFont qtFontFor(const QString& name, double points, int weight, bool italic, bool underline,
                bool strikethrough)
{
    QFont font;
    // The face itself stays second in the list, so a machine that has it may still use it if the
    // substitute is missing.
    const QString family = qtFamilyFor(name);
    if (family.compare(name, Qt::CaseInsensitive) == 0)
        font.setFamilies({family});
    else
        font.setFamilies({family, name});
    if (points > 0) font.setPointSizeF(points);
    // The runtime's 0 is "don't care", drawn at normal weight; Qt accepts 1..1000.
    int qtWeight = weight <= 0 ? int(QFont::Normal) : std::min(weight, 1000);
    if (isArialBlack(name)) qtWeight = std::max(qtWeight, int(QFont::Black));
    font.setWeight(QFont::Weight(qtWeight));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    return font;
}

void registerFontSubstitutions()
{
    // QFont keeps each substitute once, so registering again adds nothing.
    for (const Substitution& s : Substitutions)
        QFont::insertSubstitution(QString::fromLatin1(s.face), QString::fromLatin1(s.family));
}

} // namespace host

namespace {

// The host's start-up, run when the application object is created (Q_COREAPP_STARTUP_FUNCTION
// pastes the name into an identifier, so it lives outside the host namespace).
void kvHostStartUp()
{
    host::registerFontSubstitutions();
    qRegisterMetaType<host::Variant>();
    qRegisterMetaType<host::FontRef>();
    qRegisterMetaType<host::PictureRef>();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(kvHostStartUp)
