#pragma once

// A picture box: a background colour, a picture at its top-left corner, an
// optional border, and a container for other controls laid out inside it.

#include "host/forms/Control.h"
#include "host/forms/controls/PaintSupport.h"
#include "host/forms/StdPicture.h"

#include <functional>
#include <vector>

namespace korvane::forms {

enum BorderStyleConstants : int { vbBSNone = 0, vbFixedSingle = 1 };
enum AppearanceConstants : int { vbFlat = 0, vb3D = 1 };

class PictureBox : public Control {
public:
    std::function<void()> Click;

    const PictureHandle& Picture() const { return m_picture; }
    // Shows the picture; `file` is what a saved layout names it by (relative to
    // the form's folder), empty for a picture made at run time.
    void SetPicture(PictureHandle picture, std::string file = {});
    int BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(int borderStyle);
    int Appearance() const { return m_appearance; }
    void SetAppearance(int appearance);
    std::uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::uint32_t oleColor);

    // Paints the box now, then the controls inside it, and shows them.
    void Refresh();

    void Loaded() override;
    int ChildInset() const override;

protected:
    void ReadSettings(const PropertyBag& bag) override;
    void WriteSettings(PropertyBag& bag) override;
    void OnMouseDown(int button, int shift, int x, int y) override;
    void OnMouseUp(int button, int shift, int x, int y) override;
    void OnPaint() override;
    void OnResize() override { Refresh(); }

private:
    void Paint();
    // The controls placed inside this box that have windows.
    std::vector<Control*> Contents() const;
    // Moves the controls inside to where the border now puts them.
    void PlaceContents();
    // Transparent controls inside copy this box's pixels, so they paint again after it.
    void RepaintContents();

    PictureHandle m_picture;
    std::string m_pictureFile;
    int m_borderStyle = vbFixedSingle;
    int m_appearance = vb3D;
    std::uint32_t m_backColor = 0x8000000F;
    ClickTracker m_click;
};

} // namespace korvane::forms
