#include "app/win32/framework/ImageList.h"

CImageList::~CImageList() {
  if (m_list != nullptr) ImageList_Destroy(m_list);
}

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow) {
  m_list = ImageList_Create(width, height, flags, initial, grow);
  return m_list != nullptr;
}

int CImageList::AddMasked(HBITMAP bitmap, COLORREF maskColour) {
  if (m_list == nullptr || bitmap == nullptr) return -1;
  return ImageList_AddMasked(m_list, bitmap, maskColour);
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_list;
  m_list = nullptr;
  return list;
}
