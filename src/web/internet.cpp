#include "web/internet.h"

namespace {
InternetApi* installedApi = nullptr;
}

InternetApi& internetApi() {
  return installedApi != nullptr ? *installedApi : platformInternetApi();
}

void setInternetApi(InternetApi* api) {
  installedApi = api;
}
