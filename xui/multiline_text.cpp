#include "xui/multiline_text.h"

#include "xui/qt_text.h"

#include <QByteArray>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

namespace xui {
namespace {

// What was last set, and how the edit gave it back right after.
constexpr const char* kSetBytesProperty = "_xui_multiline_bytes";
constexpr const char* kSetTextProperty = "_xui_multiline_text";

QString PlainText(const QWidget* edit) {
    if (auto* p = qobject_cast<const QPlainTextEdit*>(edit))
        return p->toPlainText();
    if (auto* t = qobject_cast<const QTextEdit*>(edit))
        return t->toPlainText();
    return {};
}

// Every CR LF, lone CR and lone LF as one '\n'.
QString OneBreakEach(std::string_view bytes) {
    std::string unified;
    unified.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            unified += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            unified += bytes[i];
        }
    }
    return fromCp1252(unified);
}

} // namespace

void setMultiLineText(QWidget* edit, std::string_view bytes) {
    const QString text = OneBreakEach(bytes);
    if (auto* p = qobject_cast<QPlainTextEdit*>(edit))
        p->setPlainText(text);
    else if (auto* t = qobject_cast<QTextEdit*>(edit))
        t->setPlainText(text);
    else
        return;
    edit->setProperty(kSetBytesProperty,
                      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    edit->setProperty(kSetTextProperty, PlainText(edit));
}

std::string multiLineText(const QWidget* edit) {
    const QString text = PlainText(edit);
    if (edit && edit->property(kSetTextProperty).toString() == text) {
        const QByteArray set = edit->property(kSetBytesProperty).toByteArray();
        if (!set.isNull())
            return std::string(set.constData(), static_cast<std::size_t>(set.size()));
    }
    const std::string bytes = toCp1252(text);
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

} // namespace xui
