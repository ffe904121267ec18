#include "frame/DeferredIcon.h"

#include <QIconEngine>
#include <QPainter>

namespace {

class CDeferredIconEngine : public QIconEngine {
public:
    explicit CDeferredIconEngine(std::function<QIcon()> load)
        : m_load(std::move(load))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Loaded().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().availableSizes(mode, state);
    }
    // Answered without loading: asking is what widgets do while they are built.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("glyphane-deferred"); }
    QIconEngine* clone() const override
    {
        auto* copy = new CDeferredIconEngine(m_load);
        copy->m_icon = m_icon;
        copy->m_loaded = m_loaded;
        return copy;
    }

private:
    const QIcon& Loaded()
    {
        if (!m_loaded) {
            m_icon = m_load();
            m_loaded = true;
        }
        return m_icon;
    }

    std::function<QIcon()> m_load;
    QIcon m_icon;
    bool m_loaded = false;
};

} // namespace

QIcon DeferredIcon(std::function<QIcon()> load)
{
    return QIcon(new CDeferredIconEngine(std::move(load)));
}
