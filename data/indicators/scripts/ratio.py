# -*- coding: gbk -*-
# 两个指标之比, 分母为 0 时没有值
def ratio(numerator, denominator):
    if denominator == 0:
        return None
    return numerator / denominator
