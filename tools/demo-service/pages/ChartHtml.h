#pragma once

// The chart window's side panel and the chart terms page.

namespace demo::pages {

// "/tools/chartpanel/<sessid>/?signID=N&ckey=K", served with %CHARTSYM% and %CHARTNAME% set to
// the signal's instrument. Its buttons drive the chart named by ckey; the window calls
// resetHS() when the cross-hair goes away. Every control has a fixed place (rows of 24 px,
// headings of 20 px), so that scripts/screenshot-chart can point at them.
inline constexpr const char* kChartPanel = R"HTML(
<style>
#cp{padding:6px 8px}
.ttl{height:26px;line-height:26px;white-space:nowrap;overflow:hidden}
.sec{height:20px;line-height:20px;color:#567;font-weight:bold}
.grid{display:grid;gap:4px;grid-auto-rows:24px}
.g3{grid-template-columns:repeat(3,1fr)}.g4{grid-template-columns:repeat(4,1fr)}.g5{grid-template-columns:repeat(5,1fr)}
.grid .btn{display:flex;align-items:center;justify-content:center;padding:0}
.btn.on{background:#309de9;color:#fff}
#note{margin-top:8px;word-break:break-all;min-height:40px}
</style>
<div id="cp">
<div class="ttl"><b>%CHARTNAME%</b> <span class="muted">%CHARTSYM%</span> <span id="per" class="tag">H1</span></div>
<div class="sec">周期</div>
<div class="grid g5" id="periods"></div>
<div class="sec">K线宽度</div>
<div class="grid g3" id="widths"><span class="btn" onclick="setWidth(0)">细</span><span class="btn on" onclick="setWidth(1)">标准</span><span class="btn" onclick="setWidth(2)">宽</span></div>
<div class="sec">配色</div>
<div class="grid g4" id="schemes"><span class="btn on" onclick="scheme(0)">经典</span><span class="btn" onclick="scheme(1)">浅色</span><span class="btn" onclick="scheme(2)">美式</span><span class="btn" onclick="scheme(3)">线图</span></div>
<div class="sec">指标</div>
<div class="grid g3"><span class="btn" id="ly-ma" onclick="toggleMA()">均线</span><span class="btn" id="ly-bb" onclick="toggleBB()">布林带</span><span class="btn" id="ly-pv" onclick="togglePivot()">枢轴点</span></div>
<div class="sec">工具</div>
<div class="grid g3"><span class="btn" id="hs" onclick="hand()">十字光标</span><span class="btn" onclick="shot()">截图</span><span class="btn" onclick="info()">样式</span></div>
<div id="note" class="muted">信号 <span id="sid"></span></div>
</div>
<script>
var q = new URLSearchParams(location.search), CKEY = q.get('ckey') || '', SYM = '%CHARTSYM%';
var PERIODS = ['M1', 'M5', 'M15', 'M30', 'H1', 'H4', 'D1', 'W1', 'MN'];
var WIDTHS = [{kwidth: 1, kmargin: 1}, {kwidth: 3, kmargin: 1}, {kwidth: 7, kmargin: 2}];
var SCHEMES = [
  {back: '#000000', front: '#FFFFFF', broken: '#FFFFFF', yangzhu: '#FF0000', yangxian: '#FF0000', yinzhu: '#00FF00', yinxian: '#00FF00', linetype: 0},
  {back: '#FFFFFF', front: '#333333', broken: '#999999', yangzhu: '#E0403A', yangxian: '#E0403A', yinzhu: '#20A060', yinxian: '#20A060', linetype: 0},
  {back: '#101820', front: '#E0E0E0', broken: '#607080', yangzhu: '#26A65B', yangxian: '#26A65B', yinzhu: '#E04848', yinxian: '#E04848', linetype: 0},
  {linetype: 1}
];
var layers = {}, crossOn = false;
document.getElementById('sid').textContent = q.get('signID') || '0';
document.getElementById('periods').innerHTML = PERIODS.map(function (p) {
  return '<span class="btn' + (p === 'H1' ? ' on' : '') + '" data-p="' + p + '" onclick="period(\'' + p + '\')">' + p + '</span>';
}).join('');
function note(t) { document.getElementById('note').textContent = t; }
function mark(id, i) {
  var b = document.getElementById(id).children;
  for (var k = 0; k < b.length; k++) b[k].classList.toggle('on', k === i);
}
function period(p) {
  var r = fcb('changechart', {ckey: CKEY, cf: 'period', period: p});
  if (r === '1' || r === '0') { mark('periods', PERIODS.indexOf(p)); document.getElementById('per').textContent = p; }
  return r;
}
function style(s) { return fcb('changechart', {ckey: CKEY, cf: 'chartstyle', style: s}); }
function setWidth(i) { if (style(WIDTHS[i]) === '1') mark('widths', i); }
function scheme(i) { if (style(SCHEMES[i]) === '1') mark('schemes', i); }
function showLayer(name) { document.getElementById('ly-' + name).classList.toggle('on', !!layers[name]); }
// Adds the layer `name` with `attrib`, or removes it when it is on.
function toggle(name, attrib) {
  if (layers[name]) {
    fcb('removeindex', {ckey: CKEY, lkey: layers[name]});
    delete layers[name];
  } else if (attrib) {
    var k = fcb('addInxLayer', {ckey: CKEY, indextype: 1, attrib: attrib});
    if (k && k !== '-1') layers[name] = k;
  }
  showLayer(name);
}
function toggleMA() { toggle('ma', {type: 'MA', MALIST: [{MAPED: 5, color: '#FFCC00', linew: 1}, {MAPED: 20, color: '#33CCFF', linew: 2}]}); }
function toggleBB() { toggle('bb', {type: 'BB', cycle: 20, stddev: 2, color: '#CC66FF', linew: 1}); }
// Pivot levels of the previous day, from the page server.
function togglePivot() {
  if (layers.pv) { toggle('pv'); return; }
  fetch('/tools/pivots/' + encodeURIComponent(SYM), {cache: 'no-store'}).then(function (r) { return r.json(); }).then(function (p) {
    if (p.status !== 1) { toast('没有枢轴点数据'); return; }
    toggle('pv', {type: 'PPVI', itime: p.itime, PV: p.PV, R1: p.R1, R2: p.R2, R3: p.R3, S1: p.S1, S2: p.S2, S3: p.S3,
      zccolor: '#33CC66', zlcolor: '#FF6666', ppcolor: '#FFCC00'});
  }, function () { toast('没有枢轴点数据'); });
}
function showHand() { document.getElementById('hs').classList.toggle('on', crossOn); }
function hand() { crossOn = !crossOn; fcb('changechart', {ckey: CKEY, cf: 'handstyle', style: crossOn ? 1 : 0}); showHand(); }
function shot() { var r = fcb('chartshot', {ckey: CKEY}); if (r && r !== '-1') note('已保存：' + r); }
function info() { var r = fcb('getchartinfo', CKEY); if (r !== null) note(r); }
// Client call: the chart window left cross-hair mode.
function resetHS() { crossOn = false; showHand(); toast('十字光标已关闭'); }
</script>
)HTML";

// The chart terms, shown in the terms window (no script host there).
inline constexpr const char* kTos = R"HTML(
<div style="padding:10px 16px">
<h2>图形分析功能用户须知</h2>
<p>1. 图形及指标数据仅供参考，不构成任何投资建议。行情数据可能存在延迟，请以交易平台报价为准。</p>
<p>2. 现货及外汇交易存在较高风险，可能导致本金损失。请根据自身风险承受能力谨慎决策。</p>
<p>3. 分析师观点及交易信号代表个人意见，历史表现不代表未来收益。</p>
<p>4. 使用本功能即表示您已阅读并理解上述内容。</p>
<p class="muted">阅读完毕后，请点击下方按钮确认。</p>
</div>
)HTML";

} // namespace demo::pages
