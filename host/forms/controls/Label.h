#pragma once

// A label: a caption on the form, word-wrapped, never taking the focus. An
// access key in its caption ("&Name") moves the focus to the control after it
// in the tab order, as the host's labels do.

#include "host/forms/Control.h"
#include "host/forms/controls/PaintSupport.h"

#include <functional>

namespace korvane::forms {

enum AlignmentConstants : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };
enum BackStyleConstants : int { vbTransparent = 0, vbOpaque = 1 };

class Label : public Control {
public:
    std::function<void()> Click;

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    int Alignment() const { return m_alignment; }
    void SetAlignment(int alignment) { SetLook(m_alignment, alignment); }
    int BackStyle() const { return m_backStyle; }
    void SetBackStyle(int backStyle) { SetLook(m_backStyle, backStyle); }
    std::uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::uint32_t oleColor) { SetLook(m_backColor, oleColor); }
    std::uint32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(std::uint32_t oleColor) { SetLook(m_foreColor, oleColor); }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    bool UseMnemonic() const { return m_useMnemonic; }
    void SetUseMnemonic(bool useMnemonic) { SetLook(m_useMnemonic, useMnemonic); }
    // The form's font unless the label has one of its own.
    const FontRef& Font() const { return m_font; }
    void SetFont(FontRef font);

    // Paints the label now and shows it.
    void Refresh();

    bool CanTakeFocus() const override { return false; }
    char AccessKey() const override;
    void OnAccessKey(int keyAscii) override;
    void Loaded() override;

protected:
    void ReadSettings(const PropertyBag& bag) override;
    void WriteSettings(PropertyBag& bag) override;
    void OnMouseDown(int button, int shift, int x, int y) override;
    void OnMouseUp(int button, int shift, int x, int y) override;
    void OnPaint() override;
    void OnResize() override { Refresh(); }
    void OnEnabledChanged() override { Refresh(); }

private:
    void Paint();
    void FitToCaption();
    bool OwnFont() const;

    std::string m_caption;
    int m_alignment = vbLeftJustify;
    int m_backStyle = vbOpaque;
    std::uint32_t m_backColor = 0x8000000F;
    std::uint32_t m_foreColor = 0x80000012;
    bool m_autoSize = false;
    bool m_useMnemonic = true;
    FontRef m_font;
    ClickTracker m_click;
};

} // namespace korvane::forms
