#include "adapters/qt/QtRichTextReader.hpp"

#include <QStringDecoder>
#include <QTextDocument>

#include "platform/RtfReader.hpp"

namespace quorvane::platform::qt {

namespace {

std::optional<std::string> htmlText(const std::string& data, HtmlText* reader) {
    const QByteArray bytes(data.data(), static_cast<qsizetype>(data.size()));
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    // A charset Qt cannot decode reads as Latin-1: every byte survives.
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Latin1);
    // Stray bytes become U+FFFD, as a browser shows them.
    const QString html = decoder.decode(bytes);
    if (reader) {
        const QByteArray utf8 = html.toUtf8();
        if (auto text = reader->plainText(std::string_view(utf8.constData(), std::size_t(utf8.size()))))
            return text;
    }
    QTextDocument document;
    document.setHtml(html);
    QString text = document.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    // A NUL in the page is no text a person copied, and would end it for
    // whatever reads it as a C string.
    text.remove(QChar::Null);
    return text.toStdString();
}

std::optional<std::string> codePageText(int codePage, std::string_view bytes) {
    if (auto western = decodeWesternCodePage(codePage, bytes))
        return western;
    for (const QString& name : {QStringLiteral("windows-%1").arg(codePage), QStringLiteral("CP%1").arg(codePage)}) {
        QStringDecoder decoder(name.toLatin1().constData());
        if (!decoder.isValid())
            continue;
        const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        return text.toStdString();
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> QtRichTextReader::plainText(RichTextFormat format, const std::string& data) {
    if (format == RichTextFormat::html)
        return htmlText(data, html_);
    return rtfToPlainText(data, codePageText);
}

}  // namespace quorvane::platform::qt
