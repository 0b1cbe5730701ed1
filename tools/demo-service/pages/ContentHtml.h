#pragma once

// Bodies of the content-pane pages (member centre, followed items, service team, signal
// settings, article, signal detail) and of the lecture room. The chart pages are in
// ChartHtml.h.

namespace demo::pages {

inline constexpr const char* kAppAdmin = R"HTML(
<div class="card"><h2>会员中心</h2>
<table><tr><th>会员编号</th><td>%UID%</td><th>会员等级</th><td><span class="tag">黄金会员</span></td></tr>
<tr><th>服务期限</th><td>2027-06-30</td><th>已订阅分析师</th><td>3 位</td></tr>
<tr><th>会话</th><td colspan="3" class="muted">%SESSID%</td></tr></table></div>
<div class="card"><h2>常用操作</h2>
<span class="btn" onclick="fcb('forcetitle', '会员中心 · 账户概览')">改标题</span>
<span class="btn" onclick="fcb('normalwindow', {url: location.origin + '/tools/artview/' + SESSID + '/guide', title: '新手指南'})">新窗口看指南</span>
<span class="btn" onclick="fcb('normalwindow', {url: location.origin + '/tools/artview/' + SESSID + '/guide'})">新窗口（无标题）</span>
<span class="btn" onclick="fcb('showyyopen', '')">在线讲座</span>
<span class="btn" onclick="fcb('simpletalk', '')">simpletalk</span>
<span class="btn" onclick="fcb('audioPlay', 'alert.wav')">试听提醒音</span></div>
)HTML";

inline constexpr const char* kMyHold = R"HTML(
<div class="card"><h2>我的关注</h2>
<table><tr><th>分析师</th><th>擅长品种</th><th>近30日胜率</th><th>最新观点</th><th></th></tr>
<tr><td>李明远</td><td>现货白银、现货镍</td><td class="up">71%</td><td>白银回踩4100可轻仓做多</td><td><span class="btn" onclick="more('李明远')">最新信号</span></td></tr>
<tr><td>陈思</td><td>黄金美元</td><td class="up">68%</td><td>非农前保持观望</td><td><span class="btn" onclick="more('陈思')">最新信号</span></td></tr>
<tr><td>王浩</td><td>现货铜</td><td class="up">66%</td><td>铜价中期看涨</td><td><span class="btn" onclick="more('王浩')">最新信号</span></td></tr></table></div>
<script>function more(n) { fcb('forcetitle', '我的关注 · ' + n); fcb('switchPae', 'sg'); }</script>
)HTML";

inline constexpr const char* kAuthorList = R"HTML(
<div class="cards">
<div class="card"><h2>李明远 <span class="tag">首席分析师</span></h2><div class="muted">十二年贵金属交易经验，擅长趋势跟踪与仓位管理。</div>
<span class="btn" onclick="fcb('viewinfo', {title: '分析师文章', viurl: 'artview/' + SESSID + '/author-1'})">看文章</span></div>
<div class="card"><h2>陈思 <span class="tag">黄金研究员</span></h2><div class="muted">专注宏观数据与美元走势，每日早评。</div>
<span class="btn" onclick="fcb('viewinfo', {title: '分析师文章', viurl: 'artview/' + SESSID + '/author-2'})">看文章</span></div>
<div class="card"><h2>王浩 <span class="tag">基本金属</span></h2><div class="muted">有色金属产业链研究，铜铝镍供需分析。</div>
<span class="btn" onclick="fcb('livechat', '')">在线咨询</span></div>
<div class="card"><h2>赵婷 <span class="tag">外汇策略</span></h2><div class="muted">主要货币对技术分析，短线交易策略。</div>
<span class="btn" onclick="fcb('showchatroom', '')">进入聊天室</span></div>
</div>
)HTML";

inline constexpr const char* kSignSets = R"HTML(
<div class="card"><h2>信号提醒设置</h2>
<p><label><input type="checkbox" checked> 现货白银</label> <label><input type="checkbox" checked> 黄金美元</label>
<label><input type="checkbox"> 现货铜</label> <label><input type="checkbox"> 现货镍</label> <label><input type="checkbox"> 外汇</label></p>
<p><label><input type="checkbox" checked> 弹窗提醒</label> <label><input type="checkbox" checked> 声音提醒</label></p>
<span class="btn main" onclick="save()">保存设置</span></div>
<script>
function save() {
  fcb('tipwindow', {title: '设置已保存', content: '您的信号提醒设置已更新，新信号将按设置提醒。', viewact: '', staytitle: 0});
  fcb('forceReload', 'sign');
}
</script>
)HTML";

inline constexpr const char* kArtView = R"HTML(
<div class="card"><h2>白银日内震荡偏强，关注4150阻力</h2>
<div class="muted">李明远 · 今日 09:10 · 行情分析</div>
<p>隔夜美元指数冲高回落，贵金属整体企稳。现货白银早盘在4100一线获得支撑后温和反弹，日线级别仍处于上升通道之中。</p>
<p>技术面上，4小时图均线呈多头排列，MACD红柱放大；上方4150为前期高点阻力，有效突破后有望打开上行空间至4200附近。</p>
<p><b>操作建议：</b>4100-4110区间轻仓做多，止损4080，目标4150/4190。</p>
<span class="btn" onclick="fcb('forcetitle', document.querySelector('h2').textContent)">标题设为文章名</span>
<span class="btn" onclick="fcb('addfloatmsg', {id: 501, title: document.querySelector('h2').textContent, type: 'arts', impant: 1})">加入快讯</span></div>
)HTML";

inline constexpr const char* kSignInfo = R"HTML(
<div class="card"><h2>信号详情</h2>
<table><tr><th>品种</th><td>现货白银</td><th>方向</th><td class="up">BUY（买入）</td></tr>
<tr><th>开仓价</th><td>4128</td><th>开仓时间</th><td>09:32</td></tr>
<tr><th>止盈</th><td>4188</td><th>止损</th><td>4096</td></tr>
<tr><th>分析师</th><td>李明远</td><th>状态</th><td>持仓中</td></tr></table>
<p class="muted">依据：日线支撑有效，4小时级别底背离，回踩做多，严格止损。</p>
<span class="btn main" onclick="fcb('viewchartbysign', {SYM: 'XAGRMB', id: 30121})">打开图形</span>
<span class="btn" onclick="fcb('forcetitle', '现货白银 · BUY 4128')">标题显示开仓</span></div>
)HTML";

inline constexpr const char* kLecture = R"HTML(
<div style="max-width:760px;margin:20px auto">
<div class="card"><h2>朗鸥学院 · 在线投资讲座</h2>
<div class="muted">主讲：李明远　时间：每晚 20:00 - 21:30　<span class="up">● 直播中</span></div>
<div style="height:300px;margin:10px 0;background:#0b2a45;color:#9cc7ec;display:flex;align-items:center;justify-content:center;font-size:20px">直播画面（演示）</div>
<p>本期主题：贵金属中期趋势与资金管理。欢迎在讲座中提问，讲师将在答疑环节统一解答。</p></div>
</div>
)HTML";

} // namespace demo::pages
