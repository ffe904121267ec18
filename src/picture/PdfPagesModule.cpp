// The module glyphane-pdf (picture/PdfPages.h): PDF pages through QtPdf.
#include "picture/PdfPages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPdfDocument>

#include <cmath>
#include <memory>

namespace {

// How long a document from memory may take to load before it counts as damaged.
constexpr int kLoadDeadlineMs = 10000;

QString LoadFailure(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::IncorrectPassword:
        return QStringLiteral("the PDF is protected by a password");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("the PDF is protected in a way that cannot be opened");
    case QPdfDocument::Error::DataNotYetAvailable:
        return QStringLiteral("the file is cut short");
    default:
        break;
    }
    return QStringLiteral("the PDF is damaged or cut short");
}

class CPdfPages : public picture::IPdfPages {
public:
    explicit CPdfPages(const QByteArray& bytes) : m_bytes(bytes), m_buffer(&m_bytes) {}

    bool Load(QString* why)
    {
        m_buffer.open(QIODevice::ReadOnly);
        m_document.load(&m_buffer);
        // All the data is there, so loading ends at once; the deadline only
        // guards against a document that never says it is ready.
        QElapsedTimer clock;
        clock.start();
        while (m_document.status() == QPdfDocument::Status::Loading && clock.elapsed() < kLoadDeadlineMs)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        if (m_document.status() != QPdfDocument::Status::Ready) {
            *why = LoadFailure(m_document.error());
            return false;
        }
        if (m_document.pageCount() < 1) {
            *why = QStringLiteral("the PDF has no pages");
            return false;
        }
        return true;
    }

    int PageCount() const override { return m_document.pageCount(); }
    QSizeF PagePoints(int index) const override { return m_document.pagePointSize(index); }
    QImage Render(int index, QSize size) override { return m_document.render(index, size); }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    QPdfDocument m_document;
};

} // namespace

extern "C" Q_DECL_EXPORT picture::IPdfPages* GlyphaneOpenPdf(const QByteArray& bytes, QString* why)
{
    auto pages = std::make_unique<CPdfPages>(bytes);
    if (!pages->Load(why))
        return nullptr;
    return pages.release();
}
