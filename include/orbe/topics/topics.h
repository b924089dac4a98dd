// The topic selection trees a host embeds: Hong Kong stocks, funds, futures
// and bonds.
#ifndef ORBE_TOPICS_TOPICS_H_
#define ORBE_TOPICS_TOPICS_H_

#include "orbe/topics/bond_categories.h"
#include "orbe/topics/kvx_gg_zt_wnd.h"
#include "orbe/topics/kvx_jj_zt_wnd.h"
#include "orbe/topics/kvx_qh_zt_wnd.h"
#include "orbe/topics/kvx_zq_zt_wnd.h"
#include "orbe/topics/topic_tree_wnd.h"

#endif  // ORBE_TOPICS_TOPICS_H_
