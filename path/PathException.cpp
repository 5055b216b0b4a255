#include "path/PathException.h"

CPathException::~CPathException() = default;
