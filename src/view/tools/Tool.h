#pragma once
// One drawing tool of a logo window. The editing role hands the mouse, the
// keys, the cursor question and the painting to the tool in use (the one
// whose code is the document's drawing mode); a tool reaches the window,
// the surfaces, the selection and the magnifier through its host.
//
// Mouse points are viewport (client) coordinates; ClientToImage turns them
// into image coordinates.
#include "platform/GdiRect.h"
#include "platform/WinTypes.h"

#include <QString>

class IToolHost;
class QCursor;
class QPainter;

class CTool {
public:
    CTool(IToolHost& host, int code, const QString& paneName)
        : m_host(host)
        , m_code(code)
        , m_paneName(paneName)
    {
    }
    virtual ~CTool() = default;
    CTool(const CTool&) = delete;
    CTool& operator=(const CTool&) = delete;

    // The code kept in the document's drawing mode, and the name the tool
    // pane shows.
    int Code() const { return m_code; }
    const QString& PaneName() const { return m_paneName; }

    // Chosen from its command: whatever was pending is put down first.
    virtual void Choose();
    // Whether a press first takes the undo copy of the image.
    virtual bool TakesUndoCopy() const { return true; }
    virtual void Press(const CPoint& /*client*/) {}
    // No tool gives a second click a meaning of its own: it is another press.
    virtual void DoubleClick(const CPoint& client) { Press(client); }
    virtual void Move(const CPoint& /*client*/) {}
    virtual void Release(const CPoint& /*client*/) {}
    // The right button; false leaves it to the context menu.
    virtual bool RightPress(const CPoint& /*client*/) { return false; }
    // A character typed into the window; true when the tool took it (Esc).
    virtual bool Key(int ch);
    // The cursor at the client point; false keeps the current one.
    virtual bool CursorFor(const CPoint& /*client*/, QCursor& cursor) const;
    // What the tool shows over the image: beneath a block being moved or
    // pasted, and over it.
    virtual void PaintUnderFloating(QPainter& /*painter*/) const {}
    virtual void Paint(QPainter& /*painter*/) const {}
    // The window scrolled (vertical or horizontal).
    virtual void Scrolled(bool /*vertical*/) {}
    // Puts down what the tool has pending, as the tool changes.
    virtual void Commit();
    // Esc: the tool is dropped and what it drew on the screen only goes.
    virtual void Cancel();
    // Whether the context menu offers the pen sizes with the tool.
    virtual bool UsesPenSize() const { return false; }
    // The cursor resource of the tool; 0 keeps the current cursor.
    virtual UINT CursorId() const { return 0; }

protected:
    IToolHost& Host() const { return m_host; }
    CPoint ClientToImage(const CPoint& client) const;
    // Choose for the tools that draw: the pen width they start with (0 keeps
    // it), and the printer's RAM copy of the logo made stale.
    void ChooseDrawing(int penWidth);
    // Choose for the tools that draw a rectangle with the selection tracker.
    void ChooseWithEmptySelection();

private:
    IToolHost& m_host;
    int m_code;
    QString m_paneName;
};
