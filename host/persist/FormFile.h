#pragma once
// Form files: a form's settings and its controls' records as UTF-8 JSON ("kvform 1"), read with
// every limit checked and written atomically. Building the controls is Form::build's job.

#include "host/persist/PropertyBag.h"
#include "host/value/StdFont.h"
#include "host/value/Twips.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <stdexcept>

namespace host {

// One control placed on a form, as stored in a form file.
struct ControlRecord {
    QString className; // ProgID: "Kv_CTRL.txtCampo", or an intrinsic such as "VB.Label"
    QString name;      // an ASCII identifier
    int index = -1;    // element of a control array, -1 when not in one
    float left = 0, top = 0, width = 0, height = 0; // twips
    int tabIndex = -1; // -1: not given, the form assigns it in creation order
    QString container; // name of the containing control, empty for the form itself
    PropertyBag properties;

    bool operator==(const ControlRecord& other) const;
};

struct FormDescription {
    QString name;
    QString caption;
    float width = 0, height = 0; // twips
    FontRef font;                // null: the host's default font
    bool keyPreview = false;
    QList<ControlRecord> controls;

    bool operator==(const FormDescription& other) const;
};

// Why a form file was refused: names the file, the control and the key where that applies, as in
//     form.kvform: control "txtNome" (#2): key "width": expected a number
// Controls are numbered from 1 in file order.
class FormFileError : public std::runtime_error {
public:
    explicit FormFileError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

class FormFile {
public:
    // The format tag this code reads and writes.
    static constexpr const char* Format = "kvform 1";

    // Limits beyond which a file is refused as damaged or hostile rather than read.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
    static constexpr qsizetype MaxStringChars = 1024 * 1024;
    static constexpr qsizetype MaxPictureChars = 16 * 1024 * 1024; // base64 of a picture's PNG
    static constexpr int MaxDepth = 8;
    static constexpr qsizetype MaxControls = 10000;
    static constexpr qsizetype MaxProperties = 10000;  // per control
    static constexpr double MaxTwips = host::MaxTwips; // as far as the host places anything

    // Reads a form file held in memory; `sourceName` names it in error messages.
    static FormDescription parse(const QByteArray& bytes, const QString& sourceName);
    static FormDescription read(const QString& path);
    // The file's bytes for a description; refuses what parse() would refuse.
    static QByteArray serialize(const FormDescription& description, const QString& sourceName);
    // Saves through a temporary file in the same folder renamed over `path`: on any error the
    // file at `path` is left as it was.
    static void write(const FormDescription& description, const QString& path);
};

} // namespace host
