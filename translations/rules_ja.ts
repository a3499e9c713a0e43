<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="ja_JP">
<context>
    <name>EventTable</name>
    <message>
        <location filename="../rules/EventTable.cpp" line="14"/>
        <source>ホウゲン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="15"/>
        <source>ソラさん
大変なことに
なっちまったぜ!
泥棒が100両､
盗みやがった! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="16"/>
        <source>タチバ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="17"/>
        <source>お手前の藩名は？
なに！浪人か！
今回は50両出せば､
見逃してやる！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="18"/>
        <source>ムラクモ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="19"/>
        <source>ミナセくん
申し訳ないが、
逃走資金に１0両､
貸してつかーされ！ </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="20"/>
        <source>イワト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="21"/>
        <source>ソラマ、
軍備を調えたいき
30両ばあ
出してくれ！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="22"/>
        <source>おすず</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="23"/>
        <source>月琴の月謝が
何ヶ月も
たまっていまんねん。
５両いただけまへんか。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="24"/>
        <source>ヨシカタ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="25"/>
        <source>何、
砲術を習いたいのか
うちの授業料は
10両だよ。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="26"/>
        <source>ハツネ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="27"/>
        <source>ソラマ､
ゲンパチ兄さんに頼き
20両
送ってもろーたよ!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="28"/>
        <source>アマギ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="29"/>
        <source>ミナセくん
この短筒を
受け取ってつかーされ。
10両ぐらいで
売れるでしょう。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="30"/>
        <source>クロガネ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="31"/>
        <source>ミナセさぁ
薩摩の気持ちでごわす。
50両ありもんす。
好きなように使こうてたもんせ。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="32"/>
        <source>ヤスダ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="33"/>
        <source>ミナセさん
1丁18両のミニエー銃が
5丁売れちゅう。
90両になるがでよ。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="34"/>
        <source>トキワ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="35"/>
        <source>あしは京都留守居役
になったがで金の事は
心配しやーせきおせ。
30両ここにあるがで。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PayTable</name>
    <message>
        <location filename="../rules/PayTable.cpp" line="11"/>
        <source>顔</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="11"/>
        <source>５００両 獲得！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="12"/>
        <source>紋</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="12"/>
        <source>３００両 獲得！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="13"/>
        <source>赤い棒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="13"/>
        <location filename="../rules/PayTable.cpp" line="14"/>
        <source>１００両 獲得！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="14"/>
        <source>提灯</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
