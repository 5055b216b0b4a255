#pragma once
// A path value: four root flags and the validated names from the outermost
// to the innermost. Only the backslash separates; a drive ('C:') and a UNC
// server and share are ordinary components.

#include <cstdint>
#include <vector>

#include "path/PathComponent.h"
#include "path/PathException.h"
#include "text/DynString.h"

class CPath {
 public:
  CPath() = default;
  CPath(const CPath&) = default;
  CPath(CPath&&) noexcept = default;
  CPath& operator=(const CPath&) = default;
  CPath& operator=(CPath&&) noexcept = default;
  virtual ~CPath();

  // Replaces the whole path. Throws code 1 or 2; the path is empty after a throw.
  void Parse(const CDynString& text);
  CDynString ToString() const;

  std::uint32_t GetCount() const { return static_cast<std::uint32_t>(m_components.size()); }
  CPathComponent GetFirst() const;
  CPathComponent GetLast() const;
  const CPathComponent& GetComponent(std::uint32_t index) const { return m_components[index]; }
  void Clear();

  // Joins this base with a path that begins with "." or ".."; false (and
  // this path unchanged) when a ".." would climb past the root.
  bool Combine(const CPath& base, const CPath& relative);

  bool IsUnc() const { return m_bUnc; }
  bool HasDrive() const { return m_bDrive; }
  bool IsRooted() const { return m_bRooted; }
  bool IsRelative() const { return m_bRelative; }

  // Appends in place: a path built a component at a time costs no copy of itself.
  CPath& operator+=(const CPathComponent& component);
  friend CPath operator+(const CPath& path, const CPathComponent& component);
  friend CPath operator+(const CPathComponent& component, const CPath& path);
  friend CPath operator+(const CPath& left, const CPath& right);

 private:
  void RemoveLast() { m_components.pop_back(); }
  void RemoveFirst() { m_components.erase(m_components.begin()); }
  void MakeRelativeRest();

  bool m_bUnc = false;
  bool m_bDrive = false;
  bool m_bRooted = false;
  bool m_bRelative = false;
  std::vector<CPathComponent> m_components;
};
