# -*- coding: gbk -*-
# 增长率(%): 本期相对对比期的变化, 对比期为 0 时没有值
def growth_rate(current, previous):
    if previous == 0:
        return None
    return (current - previous) / abs(previous) * 100.0
