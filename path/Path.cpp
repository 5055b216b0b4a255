#include "path/Path.h"

#include <cstring>
#include <new>

#include "path/NameRules.h"

namespace {

bool IsDot(const CPathComponent& component) { return component.GetName().CompareNoCase(".") == 0; }

bool IsDotDot(const CPathComponent& component) { return component.GetName().CompareNoCase("..") == 0; }

// A drive root ('C:') or a share ('\\srv\share') has no parent for '..' to climb to.
bool IsAtTop(const CPath& path) {
  return (path.HasDrive() && path.GetCount() == 1) || (path.IsUnc() && path.GetCount() == 2);
}

// The server of a UNC path answers to the stricter rule, but the path keeps
// every component as a plain one.
CPathComponent MakeComponent(const CDynString& piece, bool isServer) {
  CPathComponent component;
  if (isServer) {
    CServerComponent server;
    server.SetName(piece);
    component = server;
  } else {
    component.SetName(piece.GetText());
  }
  // An empty piece means two separators in a row, or separators only.
  if (component.IsEmpty()) throw CPathException(PATHERR_INVALID_NAME);
  return component;
}

// Splits text after its leading backslashes; one trailing backslash is accepted.
void SplitIntoComponents(const CDynString& text, bool firstIsServer,
                         std::vector<CPathComponent>& components) {
  const char* const start = text.GetText();
  const char* cursor = start;
  while (*cursor == '\\') ++cursor;
  for (;;) {
    const char* separator = std::strchr(cursor, '\\');
    const std::int32_t pieceLength = separator != nullptr ? static_cast<std::int32_t>(separator - cursor)
                                                          : static_cast<std::int32_t>(std::strlen(cursor));
    const CDynString piece = text.Mid(static_cast<std::int32_t>(cursor - start), pieceLength);
    components.push_back(MakeComponent(piece, firstIsServer && components.empty()));
    if (separator == nullptr) return;
    cursor = separator + 1;
    if (*cursor == 0) return;
  }
}

}  // namespace

CPath::~CPath() = default;

void CPath::Parse(const CDynString& text) {
  Clear();
  if (text.IsEmpty()) return;

  const char* t = text.GetText();
  const bool uncPrefix = t[0] == '\\' && t[1] == '\\';
  const bool driveRoot = t[1] == ':' && t[2] == '\\';
  m_bUnc = uncPrefix;
  m_bDrive = t[1] == ':';
  m_bRooted = t[0] == '\\' || driveRoot;
  m_bRelative = !uncPrefix && !driveRoot;

  try {
    SplitIntoComponents(text, m_bUnc, m_components);
  } catch (const std::bad_alloc&) {
    Clear();
    throw CPathException(PATHERR_NO_MEMORY);
  } catch (...) {
    Clear();
    throw;
  }
}

CDynString CPath::ToString() const {
  CDynString text(AllocHeap);
  if (m_components.empty()) return text;

  // One buffer of the final length: grown name by name, a text past the
  // largest capacity class would be copied whole at every name.
  std::size_t length = m_bUnc ? 2 : 1;
  for (const CPathComponent& component : m_components)
    length += static_cast<std::size_t>(component.GetName().GetLength(false)) + 1;
  text.GetBuffer(static_cast<std::int32_t>(length + 1));

  if (m_bUnc) {
    text.Append("\\\\");
  } else if (m_bRooted && !m_bDrive) {
    text.Append('\\');
  }
  for (const CPathComponent& component : m_components) {
    text.Append(component.GetName().GetText());
    text.Append('\\');
  }
  // Only a drive root keeps its backslash: 'C:\' but 'C:' and 'C:\Windows'.
  const bool isDriveRoot = m_bDrive && m_bRooted && m_components.size() == 1;
  if (!isDriveRoot) text.TrimRight('\\');
  return text;
}

CPathComponent CPath::GetFirst() const {
  return m_components.empty() ? CPathComponent() : m_components.front();
}

CPathComponent CPath::GetLast() const {
  return m_components.empty() ? CPathComponent() : m_components.back();
}

void CPath::Clear() {
  m_bUnc = false;
  m_bDrive = false;
  m_bRooted = false;
  m_bRelative = false;
  m_components.clear();
}

// Drops a leading dot component; what is left can no longer be rooted.
void CPath::MakeRelativeRest() {
  if (m_components.size() <= 1) {
    Clear();
    return;
  }
  m_bUnc = false;
  m_bDrive = false;
  m_bRooted = false;
  m_bRelative = true;
  RemoveFirst();
}

bool CPath::Combine(const CPath& base, const CPath& relative) {
  try {
    CPath climbed(base);
    CPath rest(relative);
    while (rest.GetCount() != 0) {
      const CPathComponent first = rest.GetFirst();
      if (IsDot(first)) {
        rest.MakeRelativeRest();
        continue;
      }
      if (!IsDotDot(first)) break;

      const std::uint32_t count = climbed.GetCount();
      if (count == 0 || IsAtTop(climbed)) throw CPathException(PATHERR_BAD_OPERATION);
      if (count == 1) {
        climbed.Clear();
      } else {
        climbed.RemoveLast();
      }
      rest.MakeRelativeRest();
    }
    *this = climbed + rest;
    return true;
  } catch (...) {
    return false;
  }
}

CPath& CPath::operator+=(const CPathComponent& component) {
  if (component.IsEmpty()) return *this;

  const bool isDrive = IsDriveDesignator(component.GetName().GetText());
  if (m_components.empty()) {
    if (isDrive) {
      m_bDrive = true;
      m_bRooted = true;
    } else {
      m_bRelative = true;
    }
    m_components.push_back(component);
    return *this;
  }

  if (isDrive) throw CPathException(PATHERR_BAD_OPERATION);
  if (IsDotDot(component)) {
    if (IsAtTop(*this)) throw CPathException(PATHERR_BAD_OPERATION);
    RemoveLast();
  } else if (!IsDot(component)) {
    m_components.push_back(component);
  }
  return *this;
}

CPath operator+(const CPath& path, const CPathComponent& component) {
  CPath result(path);
  result += component;
  return result;
}

CPath operator+(const CPathComponent& component, const CPath& path) { return (CPath() + component) + path; }

CPath operator+(const CPath& left, const CPath& right) {
  CPath result(left);
  if (right.m_components.empty()) return result;
  if (result.m_components.empty()) {
    result = right;
    return result;
  }

  // An absolute path can't be appended; one rooted without a drive, like '\x',
  // is appended as a relative one.
  if (right.m_bUnc || right.m_bDrive) throw CPathException(PATHERR_BAD_OPERATION);
  const CPathComponent& first = right.m_components.front();
  if (IsDot(first) || IsDotDot(first)) {
    if (!result.Combine(result, right)) throw CPathException(PATHERR_BAD_OPERATION);
    return result;
  }
  result.m_components.insert(result.m_components.end(), right.m_components.begin(), right.m_components.end());
  return result;
}
