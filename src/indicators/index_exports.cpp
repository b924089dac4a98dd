#include "indicators/index_mgr_impl.h"

extern "C" {

IIndexMgr* CreateIndexMgrInstance() { return new IndexMgr(); }

void DeleteIndexMgrInstance(IIndexMgr* mgr) { delete mgr; }

}  // extern "C"
