#include "ranking/scrape_ranking.h"

TextList linkList;
