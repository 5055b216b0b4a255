#pragma once
// An image list under construction; whoever takes it over (a control) keeps it.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

class CImageList {
 public:
  CImageList() = default;
  ~CImageList();
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  bool Create(int width, int height, UINT flags, int initial, int grow);
  // Adds every image of a bitmap as wide as several images; maskColour turns transparent.
  int AddMasked(HBITMAP bitmap, COLORREF maskColour);
  // Gives up the list: it is no longer destroyed with this object.
  HIMAGELIST Detach();

 private:
  HIMAGELIST m_list = nullptr;
};
