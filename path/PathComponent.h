#pragma once
#include "text/DynString.h"

// One validated name of a path.
class CPathComponent {
 public:
  CPathComponent() = default;
  // Throws CPathException(PATHERR_INVALID_NAME) for a name the rule rejects.
  explicit CPathComponent(const char* name);
  CPathComponent(const CPathComponent&) = default;
  CPathComponent(CPathComponent&&) noexcept = default;
  CPathComponent& operator=(const CPathComponent&) = default;
  CPathComponent& operator=(CPathComponent&&) noexcept = default;
  virtual ~CPathComponent();

  // Null or empty text stores the empty name unchecked; a name the rule
  // rejects throws code 1 and keeps the old name.
  void SetName(const char* name);
  const CDynString& GetName() const { return m_name; }
  bool IsEmpty() const { return m_name.IsEmpty(); }

 protected:
  CDynString m_name{AllocHeap};
};

// The server of a UNC path, held to the stricter server-name rule.
class CServerComponent : public CPathComponent {
 public:
  CServerComponent() = default;
  void SetName(const char* name);
  void SetName(const CDynString& name);
};
