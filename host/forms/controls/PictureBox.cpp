#include "host/forms/controls/PictureBox.h"

#include "host/forms/Form.h"
#include "host/forms/controls/PaintSupport.h"

namespace korvane::forms {

void PictureBox::ReadSettings(const PropertyBag& bag)
{
    m_borderStyle = bag.ReadInt("BorderStyle", vbFixedSingle);
    m_appearance = bag.ReadInt("Appearance", vb3D);
    m_backColor = bag.ReadColor("BackColor", 0x8000000F);
    if (std::optional<PictureRef> ref = bag.ReadPicture("Picture")) {
        auto picture = std::make_shared<StdPicture>();
        std::filesystem::path folder = ParentForm() ? ParentForm()->ResourceFolder() : std::filesystem::path();
        // A picture that cannot be read leaves the box empty but keeps its name for saving.
        if (picture->LoadFile(folder / ref->file))
            m_picture = std::move(picture);
        m_pictureFile = ref->file;
    }
}

void PictureBox::WriteSettings(PropertyBag& bag)
{
    bag.WriteProperty("BorderStyle", std::int64_t { m_borderStyle }, std::int64_t { vbFixedSingle });
    bag.WriteProperty("Appearance", std::int64_t { m_appearance }, std::int64_t { vb3D });
    bag.WriteProperty("BackColor", std::int64_t { m_backColor }, std::int64_t { 0x8000000F });
    if (!m_pictureFile.empty())
        bag.WriteProperty("Picture", PictureRef { m_pictureFile });
    else
        bag.Remove("Picture");
}

void PictureBox::Loaded() { Paint(); }

void PictureBox::SetPicture(PictureHandle picture, std::string file)
{
    m_picture = std::move(picture);
    m_pictureFile = m_picture ? std::move(file) : std::string();
    Refresh();
}

void PictureBox::SetBorderStyle(int borderStyle)
{
    m_borderStyle = borderStyle;
    PlaceContents();
    Refresh();
}

void PictureBox::SetAppearance(int appearance)
{
    m_appearance = appearance;
    PlaceContents();
    Refresh();
}

int PictureBox::ChildInset() const { return m_borderStyle == vbFixedSingle ? (m_appearance == vb3D ? 2 : 1) : 0; }

std::vector<Control*> PictureBox::Contents() const
{
    std::vector<Control*> inside;
    if (ParentForm())
        for (Control* control : ParentForm()->Controls())
            if (control->Container() == this && control->hWnd())
                inside.push_back(control);
    return inside;
}

void PictureBox::PlaceContents()
{
    for (Control* control : Contents())
        control->Move(control->Left(), control->Top(), control->Width(), control->Height());
}

void PictureBox::SetBackColor(std::uint32_t oleColor)
{
    m_backColor = oleColor;
    Refresh();
}

void PictureBox::Paint()
{
    if (!hWnd())
        return;
    WindowDc dc(hWnd());
    RECT client;
    GetClientRect(hWnd(), &client);
    FillColour(dc, client, OleColorToColorRef(m_backColor));
    const int inset = ChildInset();
    if (m_picture && m_picture->Type() == StdPicture::Kind::Bitmap) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, m_picture->Bitmap());
        BitBlt(dc, inset, inset, m_picture->WidthPixels(), m_picture->HeightPixels(), memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    } else if (m_picture && m_picture->Type() == StdPicture::Kind::Icon) {
        DrawIconEx(dc, inset, inset, m_picture->Icon(), 0, 0, 0, nullptr, DI_NORMAL);
    }
    if (m_borderStyle == vbFixedSingle) {
        if (m_appearance == vb3D) {
            DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT);
        } else {
            HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
            FrameRect(dc, &client, frame);
            DeleteObject(frame);
        }
    }
}

void PictureBox::RepaintContents()
{
    for (Control* control : Contents())
        SendMessageA(control->hWnd(), WM_PAINT, 0, 0);
}

void PictureBox::Refresh()
{
    Paint();
    RepaintContents();
    if (hWnd() && IsWindowVisible(hWnd()))
        UpdateWindow(hWnd());
}

void PictureBox::OnPaint()
{
    Paint();
    RepaintContents();
}

void PictureBox::OnMouseDown(int button, int, int, int) { m_click.Press(hWnd(), button); }

void PictureBox::OnMouseUp(int button, int, int x, int y)
{
    if (m_click.Release(hWnd(), button, x, y) && Click)
        Click();
}

} // namespace korvane::forms
