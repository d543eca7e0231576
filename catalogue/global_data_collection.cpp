#include "catalogue/global_data_collection.h"

GlobalDataCollection& GetGlobalDataCollection() {
  static GlobalDataCollection* const collection = new GlobalDataCollection;
  return *collection;
}
