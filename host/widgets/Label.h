#pragma once
// The host's label: a caption drawn the runtime's way (access-key underline, word wrap within
// its width, transparent or opaque back), auto-sizing, and mouse events in twips.

#include "host/widgets/Intrinsic.h"

#include <QLabel>

namespace host {

class Label : public MouseRelay<QLabel>, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(bool AutoSize READ get_AutoSize WRITE put_AutoSize)
    Q_PROPERTY(bool WordWrap READ get_WordWrap WRITE put_WordWrap)
    Q_PROPERTY(short BackStyle READ get_BackStyle WRITE put_BackStyle)
    Q_PROPERTY(short Alignment READ get_Alignment WRITE put_Alignment)
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(bool UseMnemonic READ get_UseMnemonic WRITE put_UseMnemonic)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(quint32 ForeColor READ get_ForeColor WRITE put_ForeColor)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(float Left READ get_Left WRITE put_Left)
    Q_PROPERTY(float Top READ get_Top WRITE put_Top)
    Q_PROPERTY(float Width READ get_Width WRITE put_Width)
    Q_PROPERTY(float Height READ get_Height WRITE put_Height)
    Q_PROPERTY(QString ToolTipText READ get_ToolTipText WRITE put_ToolTipText)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    Label(QWidget* parent, const QString& name);
    ~Label() override;

    QString get_Caption() const { return text(); }
    void put_Caption(const QString& caption); // Change when the caption differs
    bool get_AutoSize() const { return m_autoSize; }
    void put_AutoSize(bool autoSize);
    // With AutoSize: False grows the width to one line, True grows the height at a fixed width.
    // Without AutoSize the caption always wraps within the label.
    bool get_WordWrap() const { return m_wordWrap; }
    void put_WordWrap(bool wordWrap);
    short get_BackStyle() const { return m_backStyle; } // 0 transparent, 1 opaque
    void put_BackStyle(short style);
    short get_Alignment() const { return m_alignment; } // 0 left, 1 right, 2 centre
    void put_Alignment(short alignment);
    short get_BorderStyle() const { return m_borderStyle; } // 0 none, 1 fixed single
    void put_BorderStyle(short style);
    bool get_UseMnemonic() const { return m_useMnemonic; } // "&x" underlines x, "&&" shows "&"
    void put_UseMnemonic(bool use);
    OleColor get_BackColor() const { return m_backColor; }
    void put_BackColor(OleColor color);
    OleColor get_ForeColor() const { return m_foreColor; }
    void put_ForeColor(OleColor color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

Q_SIGNALS:
    void Change();
    void Click();
    void DblClick();
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void fontApplied() override { fitToCaption(); }
    void raiseMouseDown(short& b, short& s, float& x, float& y) override;
    void raiseMouseMove(short& b, short& s, float& x, float& y) override;
    void raiseMouseUp(short& b, short& s, float& x, float& y) override;
    void raiseClick() override { Q_EMIT Click(); }
    void raiseDblClick() override { Q_EMIT DblClick(); }

private:
    int textFlags(bool wrap) const;
    int borderWidth() const { return m_borderStyle == 1 ? 1 : 0; }
    void fitToCaption();

    bool m_autoSize = false;
    bool m_wordWrap = false;
    bool m_useMnemonic = true;
    short m_backStyle = 1;
    short m_alignment = 0;
    short m_borderStyle = 0;
    OleColor m_backColor = SystemColor::ButtonFace;
    OleColor m_foreColor = SystemColor::ButtonText;
};

} // namespace host
