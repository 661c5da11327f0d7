#pragma once
// A TextList written out in a test: listOf({"a", "", "b"}).

#include <initializer_list>

#include "text/lists.h"

inline TextList listOf(std::initializer_list<Text> members) {
  TextList list;
  for (const Text& m : members) listAppend(&list, m);
  return list;
}
