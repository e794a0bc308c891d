#include "window_inspection.h"

#include <cstdlib>
#include <fstream>

#include "gui/win32/wide_text.h"
#include "text/encoding.h"

namespace zentrova::testing {

std::string Narrow(const std::wstring& text) { return text::Utf16ToUtf8(gui::FromWide(text)); }

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

gui::Bounds BoundsInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return gui::Bounds{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (handle != nullptr) GetObjectW(handle, sizeof(font), &font);
  return font;
}

std::wstring FaceInUse(HWND control) {
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = L"";
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return face;
}

COLORREF TextColourOf(HWND panel, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(control));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

Shading PaintedShading(HWND window) {
  const SIZE size = ClientSize(window);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, picture);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const int x = size.cx / 2;
  // Halfway down the rows the two halves meet; the row above ends the upper half.
  Shading shading{GetPixel(memory, x, 0), GetPixel(memory, x, size.cy / 2),
                  GetPixel(memory, x, size.cy - 1)};
  SelectObject(memory, previous);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shading;
}

COLORREF ScreenPixel(HWND window, POINT point) {
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void LeavePicture(const std::string& name, HWND window) {
  const std::filesystem::path folder = EnvironmentPath(L"ZENTROVA_WINDOW_TEST_PICTURES");
  if (folder.empty()) return;
  RECT rect;
  GetWindowRect(window, &rect);
  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD size = static_cast<DWORD>(width * height * 4);
  BITMAPFILEHEADER file{0x4D42, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size, 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  bytes.append(static_cast<const char*>(bits), size);
  SelectObject(memory, previous);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / (name + ".bmp"), std::ios::binary) << bytes;
}

std::vector<uint32_t> IconPixels(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  BITMAPINFO header{};
  header.bmiHeader = {
      sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(static_cast<size_t>(bitmap.bmWidth * bitmap.bmHeight));
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), pixels.data(), &header,
            DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

HICON GlyphOf(HWND button) {
  return reinterpret_cast<HICON>(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));
}

int IconSide(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

std::filesystem::path EnvironmentPath(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path SampleExport() {
  return (std::filesystem::path(ZENTROVA_SOURCE_DIR) / "data" / "muestra" / "instituto.xml")
      .make_preferred();
}

}  // namespace zentrova::testing
