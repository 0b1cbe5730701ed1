#pragma once

// Bodies of the five section pages (signals, articles, plans, market events, right column).
// Each defines reloadCheck and its section's filter functions, called by the client.

namespace demo::pages {

inline constexpr const char* kSignList = R"HTML(
<div class="bar"><b>实时交易信号</b><span id="filter" class="tag">全部</span>
<span class="btn" onclick="fcb('realsign', {items: SIGNALS.slice(0, 3)})">推送即时交易</span>
<span class="upd" id="upd"></span></div>
%MEMBERBLOCK%
<div id="offer" class="card hidden"></div>
<div id="list"></div>
<script>
var SIGNALS = [
  {id: 30121, symname: '现货白银', sym: 'XAGRMB', postype: 'BUY', openprice: '4128', tp: 4188, sl: 4096, cddl: '09:32', author: '李明远', note: '日线支撑有效，回踩做多'},
  {id: 30122, symname: '黄金美元', sym: 'XAU', postype: 'SELL LIMIT', openprice: '1932.50', tp: 1918.0, sl: 1940.0, cddl: '10:05', author: '陈思', note: '美元指数走强，上方阻力明显'},
  {id: 30123, symname: '现货铜', sym: 'CADRMB', postype: 'BUY LIMIT', openprice: '68650', tp: 69400, sl: 68200, cddl: '10:47', author: '王浩', note: '库存下降，逢低布局'},
  {id: 30124, symname: '欧元美元', sym: 'EURUSD', postype: 'SELL', openprice: '1.0862', tp: 1.0790, sl: 1.0905, cddl: '11:16', author: '赵婷', note: '欧央行偏鸽，反弹做空'},
  {id: 30125, symname: '现货镍', sym: 'NIDRMB', postype: 'BUY', openprice: '126300', tp: 128800, sl: 125100, cddl: '13:02', author: '李明远', note: '突破三角形整理上沿'},
  {id: 30126, symname: '现货铝', sym: 'AIDRMB', postype: 'SELL STOP', openprice: '18420', tp: 18150, sl: 18560, cddl: '13:40', author: '周凯', note: '跌破前低则顺势做空'}
];
var style = 1, postype = 1, rounds = 0;
function bullish(s) { return s.postype.indexOf('BUY') === 0; }
function render() {
  var rows = SIGNALS.filter(function (s) { return postype === 1 || (postype === 2) === bullish(s); });
  var h;
  if (style === 1) {
    h = '<div class="cards">' + rows.map(function (s) {
      return '<div class="card"><h2>' + esc(s.symname) + ' <span class="' + (bullish(s) ? 'up' : 'down') + '">' + s.postype + '</span></h2>' +
        '<div>开仓 ' + s.openprice + '　止盈 ' + s.tp + '　止损 ' + s.sl + '</div><div class="muted">' + esc(s.author) + ' · ' + s.cddl + ' · ' + esc(s.note) + '</div>' +
        '<div style="margin-top:6px"><span class="btn" onclick="detail(' + s.id + ')">详情</span> <span class="btn" onclick="chart(' + s.id + ')">图形</span> <span class="btn" onclick="offerAlert(' + s.id + ')">提醒</span> <span class="btn" onclick="notice(' + s.id + ')">通知</span></div></div>';
    }).join('') + '</div>';
  } else {
    h = '<table><tr><th>品种</th><th>方向</th><th>开仓价</th><th>止盈</th><th>止损</th><th>时间</th><th>分析师</th><th></th></tr>' +
      rows.map(function (s) {
        return '<tr><td>' + esc(s.symname) + '</td><td class="' + (bullish(s) ? 'up' : 'down') + '">' + s.postype + '</td><td>' + s.openprice +
          '</td><td>' + s.tp + '</td><td>' + s.sl + '</td><td>' + s.cddl + '</td><td>' + esc(s.author) +
          '</td><td><span class="btn" onclick="detail(' + s.id + ')">详情</span> <span class="btn" onclick="chart(' + s.id + ')">图形</span> <span class="btn" onclick="offerAlert(' + s.id + ')">提醒</span></td></tr>';
      }).join('') + '</table>';
  }
  document.getElementById('list').innerHTML = h || '<p class="muted" style="padding:10px">暂无信号</p>';
}
function find(id) { return SIGNALS.filter(function (s) { return s.id === id; })[0]; }
function detail(id) { var s = find(id); fcb('viewinfo', {title: s.symname + ' 信号详情', viurl: 'signinfo/' + SESSID + '/' + id, staytitle: 0, destory: ''}); }
function chart(id) { var s = find(id); fcb('viewchartbysign', {SYM: s.sym, id: s.id}); }
// "提醒": the signal's take-profit and stop-loss (0.05 or less: not set) offered as price
// alerts; the client opens its alert dialog filled in, or answers -1 for a symbol it has no
// quote of.
function offerAlert(id) {
  var s = find(id), o = document.getElementById('offer'), h = '为 ' + esc(s.symname) + ' 设置价格提醒：';
  [['tp', '止盈'], ['sl', '止损']].forEach(function (k) {
    h += s[k[0]] > 0.05 ? ' <span class="btn" onclick="priceAlert(' + id + ', \'' + k[0] + '\')">' + k[1] + ' ' + s[k[0]] + '</span>'
                        : ' <span class="muted">' + k[1] + '未设置</span>';
  });
  o.innerHTML = h + ' <span class="btn" onclick="document.getElementById(\'offer\').classList.add(\'hidden\')">关闭</span>';
  o.classList.remove('hidden');
}
function priceAlert(id, key) {
  var s = find(id), name = key === 'tp' ? '止盈' : '止损';
  var r = fcb('pricealert', {SYM: s.sym, price: s[key], note: s.symname + ' ' + s.postype + ' ' + name + '（' + s.author + '）'});
  if (r === '-1') toast('暂无' + s.symname + '的行情，稍后再试');
  return r;
}
function notice(id) {
  var s = find(id);
  fcb('tipwindow', {title: '新信号：' + s.symname, content: s.author + '：' + s.postype + ' ' + s.openprice + '，' + s.note,
    viewact: 'viewinfo', vititle: s.symname + ' 信号详情', viparam: 'signinfo/' + SESSID + '/' + id, staytitle: 0});
}
// Client calls.
function showPostype(n) { postype = n; document.getElementById('filter').textContent = ['', '全部', '看涨', '看跌'][n] || '全部'; render(); }
function setStyle(n) { style = n; render(); }
// The page shows the session in its address: when the client's session has changed (a login
// or logout), the page moves to the address of the new one.
function followSession(next) {
  if (!next || next === SESSID) return false;
  location.replace('/tools/signlist/' + encodeURIComponent(next) + '/');
  return true;
}
function reloadCheck(x) {
  if (typeof x === 'string' && followSession(x)) return;
  if (x === 0) {
    fetch('/tools/session/', {cache: 'no-store'}).then(function (r) { return r.json(); })
      .then(function (s) { if (!followSession(s.sessid)) refresh(x); }, function () { refresh(x); });
    return;
  }
  refresh(x);
}
function refresh(x) {
  rounds++;
  var s = SIGNALS[rounds % SIGNALS.length];
  s.tp = Math.round((s.tp * 1.0005) * 10000) / 10000;
  render();
  stamp(x === 0 ? '已刷新' : '有新信号');
}
// What the service pushes through this page all day, played by the demo on its own timers: a
// notice about every 40 s (its action rotating through viewinfo, openurl, video and none, with
// the alert sound), the instant trades every 15 s with moving targets, a news item every 25 s.
var LIVE = %LIVE%, RATE = %RATE%, liveRound = 0, tradeRound = 0, newsRound = 0;
var NOTICE_ACTIONS = ['viewinfo', 'openurl', 'video', ''];
var LIVE_NEWS = ['【快讯】美国初请失业金人数低于预期，金价短线回落', '【策略】白银短线关注4150一线压力',
  '【提醒】今晚20:30公布非农数据，注意控制仓位', '【观点】库存持续下降，铜价中期仍有上行空间'];
function liveNotice() {
  var s = SIGNALS[liveRound % SIGNALS.length], act = NOTICE_ACTIONS[liveRound % NOTICE_ACTIONS.length];
  liveRound++;
  var p = {title: '新信号：' + s.symname, content: s.author + '：' + s.postype + ' ' + s.openprice + '，' + s.note,
    viewact: act, vititle: s.symname + ' 信号详情', viparam: '', staytitle: 0, audio: 'alert.wav'};
  if (act === 'viewinfo') p.viparam = 'signinfo/' + SESSID + '/' + s.id;
  else if (act === 'openurl') p.viparam = location.origin + '/tools/signinfo/' + SESSID + '/' + s.id;
  else if (act === 'video') p.viparam = JSON.stringify({url: location.origin + '/filelist/video/gold-weekly.mp4', title: '【有声有色】一分钟看懂本周黄金走势'});
  else p.content = '今日策略已更新，点击查看打开主窗口。';
  fcb('tipwindow', p);
  return p;
}
function liveTrade() {
  tradeRound++;
  var items = SIGNALS.slice(0, 3 + Math.min(tradeRound >> 2, SIGNALS.length - 3)).map(function (s, i) {
    var k = 1 + ((tradeRound + i) % 5 - 2) * 0.0004;
    var unit = Math.pow(10, (s.openprice.split('.')[1] || '').length); // the price's own digits
    return {id: s.id, postype: s.postype, symname: s.symname, openprice: s.openprice, cddl: s.cddl,
      tp: Math.round(s.tp * k * unit) / unit, sl: tradeRound % 4 === 3 ? 0 : Math.round(s.sl * k * unit) / unit};
  });
  fcb('realsign', {items: items});
  return items;
}
function liveNews() {
  var i = newsRound++ % LIVE_NEWS.length;
  var p = {id: 6001 + i, title: LIVE_NEWS[i], type: 'newtips', impant: 1 + i % 3};
  fcb('addfloatmsg', p);
  return p;
}
if (LIVE) {
  setTimeout(liveTrade, 2000); setInterval(liveTrade, 15000 / RATE);
  setTimeout(liveNews, 4000); setInterval(liveNews, 25000 / RATE);
  setTimeout(liveNotice, 6000); setInterval(liveNotice, 40000 / RATE);
}
render(); stamp();
</script>
)HTML";

// The signal page's member block: member-only signals for the member session, an invitation to
// sign in for any other.
inline constexpr const char* kSignMember = R"HTML(
<div class="card" id="member" style="border-color:#f0b429">
<h2>会员专享信号 <span class="tag">会员 %UID%</span></h2>
<table><tr><th>品种</th><th>方向</th><th>开仓价</th><th>止盈</th><th>止损</th><th>分析师</th></tr>
<tr><td>黄金美元</td><td class="up">BUY LIMIT</td><td>2024.80</td><td>2046.00</td><td>2015.50</td><td>首席 林涛</td></tr>
<tr><td>现货白银</td><td class="down">SELL</td><td>5668</td><td>5580</td><td>5712</td><td>首席 林涛</td></tr></table>
<div style="margin-top:6px"><span class="btn" onclick="fcb('utypelabClick', '')">续费会员</span>
<span class="btn" onclick="fcb('lgoutlabClick', '')">退出登录</span></div>
</div>
)HTML";

inline constexpr const char* kSignGuest = R"HTML(
<div class="bar" id="guest"><span class="muted">会员专享信号：登录会员后查看</span>
<span class="btn main" onclick="fcb('loginLabelClick', '')">会员登录</span>
<span class="btn" onclick="fcb('regLabelClick', '')">注册</span></div>
)HTML";

inline constexpr const char* kArtList = R"HTML(
<div class="bar"><b>分析文章</b><span id="filter" class="tag">全部</span><span id="sym" class="tag">全部品种</span>
<span class="upd" id="upd"></span></div>
<div id="list"></div>
<script>
var ARTS = [
  {id: 501, type: 2, sym: '现货白银', title: '白银日内震荡偏强，关注4150阻力', author: '李明远', time: '09:10', video: ''},
  {id: 502, type: 3, sym: '黄金美元', title: '非农前夕金价窄幅整理，市场观望情绪浓厚', author: '陈思', time: '10:22', video: ''},
  {id: 503, type: 4, sym: '现货铜', title: '专题：全球铜矿供应收紧对下半年价格的影响', author: '王浩', time: '11:05', video: ''},
  {id: 504, type: 2, sym: '外汇', title: '欧元美元技术面：下降通道未改', author: '赵婷', time: '13:18', video: ''},
  {id: 505, type: 999, sym: '黄金美元', title: '【有声有色】一分钟看懂本周黄金走势', author: '周凯', time: '14:00', video: '/filelist/video/gold-weekly.mp4'},
  {id: 506, type: 3, sym: '现货镍', title: '印尼出口政策调整，镍价大幅波动', author: '李明远', time: '14:36', video: ''},
  {id: 507, type: 999, sym: '现货白银', title: '【有声有色】白银操作要点视频解读', author: '陈思', time: '15:12', video: '/filelist/video/silver-tips.mp4'}
];
var artType = 1, artSym = '';
function render() {
  var rows = ARTS.filter(function (a) {
    return (artType === 1 || a.type === artType) && (artSym === '' || a.sym === artSym);
  });
  document.getElementById('list').innerHTML = '<table><tr><th>标题</th><th>品种</th><th>作者</th><th>时间</th><th></th></tr>' +
    rows.map(function (a) {
      return '<tr><td>' + esc(a.title) + '</td><td>' + esc(a.sym) + '</td><td>' + esc(a.author) + '</td><td>' + a.time + '</td><td>' +
        (a.video ? '<span class="btn" onclick="play(' + a.id + ')">播放</span>' : '<span class="btn" onclick="read(' + a.id + ')">阅读</span>') +
        ' <span class="btn" onclick="news(' + a.id + ')">加入快讯</span></td></tr>';
    }).join('') + '</table>' + (rows.length ? '' : '<p class="muted" style="padding:10px">该分类暂无文章</p>');
}
function find(id) { return ARTS.filter(function (a) { return a.id === id; })[0]; }
function read(id) { fcb('viewinfo', {title: '文章阅读', viurl: 'artview/' + SESSID + '/' + id}); }
function play(id) { var a = find(id); fcb('playVideo', JSON.stringify({title: a.title, url: location.origin + a.video})); }
function news(id) { var a = find(id); fcb('addfloatmsg', {id: a.id, title: a.title, type: 'arts', impant: a.type === 4 ? 2 : 1}); }
// Client calls.
function showArtType(n) { artType = n; document.getElementById('filter').textContent = {1: '全部', 2: '行情分析', 3: '新闻评论', 4: '专题报告', 999: '有声有色'}[n] || '全部'; render(); }
function showArtBySYM(s) { artSym = s; document.getElementById('sym').textContent = s || '全部品种'; render(); }
function reloadCheck(x) { render(); stamp(x === 0 ? '已刷新' : '有新文章'); }
render(); stamp();
</script>
)HTML";

inline constexpr const char* kPlanList = R"HTML(
<div class="bar"><b>交易策略</b><span id="filter" class="tag">全部</span><span class="upd" id="upd"></span></div>
<div id="list" class="cards"></div>
<script>
var PLANS = [
  {id: 801, type: 2, title: '白银日内短线：4100-4150区间高抛低吸', author: '李明远', win: '68%', state: '进行中'},
  {id: 802, type: 3, title: '黄金中线布局：1900下方分批做多', author: '陈思', win: '72%', state: '进行中'},
  {id: 803, type: 4, title: '铜长期配置：逢低建仓，目标72000', author: '王浩', win: '65%', state: '观察中'},
  {id: 804, type: 2, title: '欧元美元短线：反弹至1.0900附近做空', author: '赵婷', win: '61%', state: '已止盈'},
  {id: 805, type: 3, title: '镍价波段：突破128000追多', author: '周凯', win: '58%', state: '进行中'}
];
var planType = 1;
function render() {
  document.getElementById('list').innerHTML = PLANS.filter(function (p) { return planType === 1 || p.type === planType; }).map(function (p) {
    return '<div class="card"><h2>' + esc(p.title) + '</h2><div class="muted">' + ['', '', '短期', '中期', '长期'][p.type] + ' · ' + esc(p.author) +
      ' · 历史胜率 <span class="up">' + p.win + '</span> · ' + p.state + '</div><div style="margin-top:6px">' +
      '<span class="btn" onclick="fcb(\'viewinfo\', {title: \'策略详情\', viurl: \'signinfo/\' + SESSID + \'/plan-' + p.id + '\'})">查看策略</span> ' +
      '<span class="btn" onclick="fcb(\'normalwindow\', {url: location.origin + \'/tools/artview/\' + SESSID + \'/plan-' + p.id + '\', title: \'' + esc(p.title) + '\'})">新窗口打开</span></div></div>';
  }).join('') || '<p class="muted" style="padding:10px">该周期暂无策略</p>';
}
// Client calls.
function showPlanType(n) { planType = n; document.getElementById('filter').textContent = ['', '全部', '短期', '中期', '长期'][n] || '全部'; render(); }
function reloadCheck(x) { render(); stamp(x === 0 ? '已刷新' : '策略有更新'); }
render(); stamp();
</script>
)HTML";

inline constexpr const char* kMktEvent = R"HTML(
<div class="bar"><b>财经日历与市场事件</b><span id="filter" class="tag">全部</span><span class="upd" id="upd"></span></div>
<div id="list"></div>
<script>
var EVENTS = [
  {id: 9001, type: 3, time: '09:30', country: '中国', name: '6月CPI年率', prev: '0.2%', expect: '0.3%', actual: '0.2%', star: 3},
  {id: 9002, type: 2, time: '14:00', country: '欧元区', name: '欧洲央行行长讲话', prev: '-', expect: '-', actual: '-', star: 3},
  {id: 9003, type: 3, time: '16:30', country: '英国', name: '5月GDP月率', prev: '0.2%', expect: '-0.1%', actual: '待公布', star: 2},
  {id: 9004, type: 3, time: '20:30', country: '美国', name: '6月非农就业人数(万)', prev: '33.9', expect: '22.5', actual: '待公布', star: 3},
  {id: 9005, type: 2, time: '22:00', country: '美国', name: '美联储货币政策听证会', prev: '-', expect: '-', actual: '-', star: 3},
  {id: 9006, type: 3, time: '22:30', country: '美国', name: 'EIA原油库存(万桶)', prev: '-96', expect: '-150', actual: '待公布', star: 2}
];
var dataType = 1;
function stars(n) { return '★★★'.slice(0, n) + '☆☆☆'.slice(0, 3 - n); }
function render() {
  document.getElementById('list').innerHTML = '<table><tr><th>时间</th><th>国家/地区</th><th>事件</th><th>重要性</th><th>前值</th><th>预期</th><th>公布</th><th></th></tr>' +
    EVENTS.filter(function (e) { return dataType === 1 || e.type === dataType; }).map(function (e) {
      return '<tr><td>' + e.time + '</td><td>' + e.country + '</td><td>' + esc(e.name) + '</td><td class="up">' + stars(e.star) + '</td><td>' + e.prev +
        '</td><td>' + e.expect + '</td><td>' + e.actual + '</td><td><span class="btn" onclick="remind(' + e.id + ')">加入快讯</span></td></tr>';
    }).join('') + '</table>';
}
function remind(id) { var e = EVENTS.filter(function (x) { return x.id === id; })[0]; fcb('addfloatmsg', {id: e.id, title: e.time + ' ' + e.country + e.name, type: 'mkte', impant: e.star}); }
// Client calls.
function showDataType(n) { dataType = n; document.getElementById('filter').textContent = ['', '全部', '重要事件', '经济数据'][n] || '全部'; render(); }
function reloadCheck(x) {
  EVENTS.forEach(function (e) { if (e.actual === '待公布' && Math.random() < 0.3) e.actual = e.expect; });
  render(); stamp(x === 0 ? '已刷新' : '数据已公布');
}
render(); stamp();
</script>
)HTML";

inline constexpr const char* kRight = R"HTML(
<div style="padding:8px">
<div class="card" style="margin:0 0 8px"><h2>会员服务</h2>
<div><span class="btn main" onclick="fcb('viewinfo', {title: '会员中心', viurl: 'appadmin/' + SESSID})">会员中心</span>
<span class="btn" onclick="fcb('viewinfo', {title: '我的关注', viurl: 'myhold/' + SESSID})">我的关注</span></div>
<div style="margin-top:6px"><span class="btn" onclick="fcb('viewinfo', {title: '服务团队', viurl: 'authorlist/' + SESSID})">服务团队</span>
<span class="btn" onclick="fcb('viewinfo', {title: '信号设置', viurl: 'signsets/' + SESSID})">信号设置</span></div></div>
<div class="card" style="margin:0 0 8px"><h2>在线讲座</h2><div class="muted">每晚八点 名师在线解盘</div>
<span class="btn main" onclick="fcb('showyyopen', '')">去听讲座</span> <span class="btn" onclick="fcb('livechat', '')">在线客服</span></div>
<div class="card" style="margin:0 0 8px"><h2>今日快讯</h2><div id="news"></div></div>
<div class="muted" id="upd"></div>
</div>
<script>
var NEWS = ['美联储官员：年内或再加息一次', '国内银价早盘小幅走高', 'LME铜库存连续五日下降', '欧元区5月零售销售好于预期'];
document.getElementById('news').innerHTML = NEWS.map(function (t, i) {
  return '<div><a href="javascript:void(0)" onclick="fcb(\'addfloatmsg\', {id: ' + (7000 + i) + ', title: \'' + t + '\', type: \'rnews\', impant: 1})">' + t + '</a></div>';
}).join('');
function reloadCheck(x) { stamp(x === 0 ? '已刷新' : '有更新'); }
stamp();
</script>
)HTML";

} // namespace demo::pages
