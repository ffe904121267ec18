#pragma once
// The text box of a logo window: drawn with the selection tracker, typed
// into, and stamped into the image as black text on white; and the font new
// boxes start from.
#include "platform/CommandRouter.h"
#include "platform/GdiRect.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QTextEdit>

#include <memory>

class IToolHost;

class CViewTextBox {
public:
    explicit CViewTextBox(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);
    void OnSelectFont();
    // The font a new text box's description starts from: "Times New Roman",
    // or the closest serif font installed when it is missing.
    static QFont InitialTextFont();

    // A rubber band from point; the box opens where it ends.
    void BeginTextBox(const CPoint& point);
    // A click outside the open box stamps it.
    void ClickWithTextBox(const CPoint& point);
    // Stamps the open box into the image (none open: nothing). A click also
    // ends the tool and makes the logo changed.
    void CommitTextBox(bool byClick);
    // Keeps the open box over its place in the image after a scroll; the
    // first scroll of a direction is noted only when the box is the tool's.
    void FollowScroll(bool vertical, bool noteFirst);

    QTextEdit* TextBox() const { return m_pTextEdit; }
    // The description new text boxes start from, and the open box's font.
    const QFont& TextFont() const { return m_lfText; }
    const QFont* TextBoxFont() const { return m_pTextFont.get(); }
    // Until the first scroll of each direction a text box is not moved with it.
    bool AwaitsFirstHScroll() const { return m_bFirstHScroll; }
    bool AwaitsFirstVScroll() const { return m_bFirstVScroll; }

private:
    void OpenTextBox(bool accepted, const CRect& rect);
    void StampTextBox();
    QImage RenderTextBox() const;
    void PlaceTextBoxWidget();

    IToolHost& m_host;
    QPointer<QTextEdit> m_pTextEdit;
    QPointer<QWidget> m_pTextOutline;
    QFont m_lfText = InitialTextFont();
    std::unique_ptr<QFont> m_pTextFont;
    bool m_bFirstVScroll = true;
    bool m_bFirstHScroll = true;
};
