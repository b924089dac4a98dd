# -*- coding: gbk -*-
# 两个指标之比的百分数, 分母为 0 时没有值
def ratio_percent(part, whole):
    if whole == 0:
        return None
    return part / whole * 100.0
