#pragma once
// List operations. A read outside 1 to the list's size ends the program.

#include "text/values.h"

template <class T>
int listSize(const List<T>& list) {
  return static_cast<int>(list.members.size());
}

template <class T>
void listAppend(List<T>* list, T value) {
  list->members.push_back(std::move(value));
}

// Ends the program through fatalError: code 4 below 1 (tested first), code 1
// past the end.
[[noreturn]] void listIndexError(int position);

template <class T>
const T& listGet(const List<T>& list, int position) {
  if (position < 1 || position > listSize(list)) listIndexError(position);
  return list.members[static_cast<std::size_t>(position - 1)];
}
