#!/bin/sh
# Builds the sample reports of docs/samples with vortan-cli: a survey database
# made from the shipped defaults, filled with two surveys through "sql", then
# the test record sheet (a point of 45 records, two pages) in both torque
# units, the depth chart of seven points, five to a page, and the same chart
# of qu (2·c in N/cm², heights above a TBM), as PDF files with PNG pictures
# of their pages (pdftoppm -r 80).
#
#   tools/make_report_samples.sh BUILD_DIR [OUT_DIR]
set -eu

build=${1:?usage: make_report_samples.sh BUILD_DIR [OUT_DIR]}
out=${2:-$(dirname "$0")/../docs/samples}
cli="$build/bin/vortan-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

export QT_QPA_PLATFORM=offscreen
"$cli" init-db "$work/VORTAN.MDB" >/dev/null
# The bearing capacity tables the calculation reads from the settings folder.
cp "$build/bin/qaTbl.tbl" "$build/bin/rqtbl.csv" "$work/"

settings() {   # settings FILE UNIT_SWITCH COLOUR_BASIS [CHART_VALUE HEIGHT_BASIS]
    cat > "$1" <<INI
[etc]
データ位置 = $work/VORTAN.MDB
ini位置 = $work
試験名単位切替 = $2
高さ基準 = ${5:-0}
単位系 = 1
[rep]
会社名 = 株式会社サンプル地盤調査
標高 = True
標高差 = True
地下水位 = True
記事 = True
グラフの色の選定基準 = $3
Nd値グラフ同時表示数 = 5
Max深度 = 10
PRType3NMax = 20
PRType3Type = ${4:-0}
PRType3quMax = 20
INI
}
settings "$work/nm.ini" True 0
settings "$work/kncm.ini" False 0
settings "$work/chart.ini" True 1
settings "$work/chart_qu.ini" True 0 2 2

sql() { "$cli" --settings "$work/nm.ini" sql "$1" >/dev/null; }

sql "INSERT INTO 調査地区 (調査地区No,現場名,住所,調査目的,調査責任者,調査者,調査開始時刻,調査終了時刻,調査日,天候,標高,得意先名,記事) VALUES (101, '青葉台三丁目 住宅新築工事', '神奈川県横浜市青葉区青葉台3丁目', '戸建住宅の基礎設計', '山田 太郎', '佐藤 次郎', '0930', '1130', '20240501', '晴れ', '35.20', '一般', '敷地北東角に既存擁壁あり');"
sql "INSERT INTO 調査地区 (調査地区No,現場名,住所,調査目的,調査責任者,調査者,調査開始時刻,調査終了時刻,調査日,天候,標高,得意先名,記事) VALUES (102, '緑町五丁目 造成地', '埼玉県さいたま市浦和区緑町5丁目', '宅地造成の地盤確認', '山田 太郎', '佐藤 次郎', '0900', '1600', '20240612', '曇り', '12.80', '一般', '7測点 深度10mまで');"

# Survey 101: one point of 45 records, 0.25 m apart.
sql "INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位,記事,印刷,印刷測点No) VALUES (101, '1', '240501', '0930', '1115', '-0.35', '2.40', '建物中央', True, 'No.1');"
i=1
while [ $i -le 45 ]; do
    depth=$(awk "BEGIN{printf \"%.2f\", $i*0.25}")
    blows=$(( (i * 7 + 3) % 13 + 1 + i / 9 ))
    torque=$(awk "BEGIN{printf \"%.1f\", (($i*5)%9)*0.8}")
    soil=$(( i <= 8 ? 5 : (i <= 20 ? 2 : (i <= 32 ? 1 : (i <= 40 ? 3 : 1))) ))
    remark=''
    [ $i -eq 9 ] && remark='粘土混じり'
    [ $i -eq 33 ] && remark='礫あり'
    sql "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質,記事) VALUES (101, '1', '240501', '0930', '1115', $depth, $blows, $torque, $soil, '$remark');"
    i=$((i + 1))
done

# Survey 102: seven points, 16 to 40 records each.
p=1
while [ $p -le 7 ]; do
    rows=$(( 16 + (p * 11) % 25 ))
    hour=$(printf '%02d' $((8 + p)))
    sql "INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位,記事,印刷,印刷測点No) VALUES (102, '$p', '240612', '${hour}00', '${hour}45', '$(( p % 3 - 1 )).$p', '', '', True, '');"
    i=1
    while [ $i -le $rows ]; do
        depth=$(awk "BEGIN{printf \"%.2f\", $i*0.25}")
        blows=$(( (i * (p + 3)) % 11 + i / 4 + 1 ))
        torque=$(awk "BEGIN{printf \"%.1f\", (($i+$p)%7)*0.6}")
        soil=$(( (i + p) / 9 % 3 == 2 ? 5 : (i + p) / 9 % 3 + 1 ))
        sql "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質,記事) VALUES (102, '$p', '240612', '${hour}00', '${hour}45', $depth, $blows, $torque, $soil, '');"
        i=$((i + 1))
    done
    p=$((p + 1))
done

"$cli" --settings "$work/nm.ini" report --survey 101 --type 1 --pdf "$out/record_sheet_nm.pdf"
"$cli" --settings "$work/kncm.ini" report --survey 101 --type 1 --pdf "$out/record_sheet_kncm.pdf"
"$cli" --settings "$work/chart.ini" report --survey 102 --type 2 --pdf "$out/depth_chart.pdf"
"$cli" --settings "$work/chart_qu.ini" report --survey 102 --type 2 --pdf "$out/depth_chart_qu.pdf"

for pdf in record_sheet_nm record_sheet_kncm depth_chart depth_chart_qu; do
    rm -f "$out/$pdf"-*.png
    pdftoppm -r 80 -png "$out/$pdf.pdf" "$out/$pdf"
done
ls "$out"
