#include "path/PathComponent.h"

#include "path/NameRules.h"
#include "path/PathException.h"

namespace {

bool IsNullOrEmpty(const char* text) { return text == nullptr || *text == 0; }

}  // namespace

CPathComponent::CPathComponent(const char* name) { SetName(name); }

CPathComponent::~CPathComponent() = default;

void CPathComponent::SetName(const char* name) {
  if (!IsNullOrEmpty(name) && !IsValidName(name)) {
    throw CPathException(PATHERR_INVALID_NAME);
  }
  m_name.Assign(name);
}

void CServerComponent::SetName(const char* name) {
  if (!IsNullOrEmpty(name) && !IsValidServerName(name)) {
    throw CPathException(PATHERR_INVALID_NAME);
  }
  m_name.Assign(name);
}

void CServerComponent::SetName(const CDynString& name) { SetName(name.GetText()); }
