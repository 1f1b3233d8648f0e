#!/usr/bin/env python3
# Compares the notes of a MIDI file with those of a MusicXML file (pitch,
# start and length in quarter notes, by part), tied notes joined:
#   scripts/notation-roundtrip.py FILE.mid FILE.musicxml
# Used by hand to check what `zelvo notate` and --notation write against
# what a notation program reads back, e.g.
#   QT_QPA_PLATFORM=offscreen mscore3 -o back.musicxml outar.musicxml
#   scripts/notation-roundtrip.py outar.mid back.musicxml
# Needs midicsv.
import sys, subprocess, xml.etree.ElementTree as ET
from fractions import Fraction as F
mid, xmlf = sys.argv[1], sys.argv[2]
rows=[l.strip().split(', ') for l in subprocess.run(['midicsv',mid],capture_output=True,text=True).stdout.splitlines()]
div=int(rows[0][5]); opened={}; notes=[]
for r in rows:
    if r[2] in ('Note_on_c','Note_off_c'):
        t=int(r[1]); ch=int(r[3]); p=int(r[4]); v=int(r[5]) if r[2]=='Note_on_c' else 0
        if v>0: opened.setdefault((ch,p),[]).append(t)
        elif opened.get((ch,p)):
            s=opened[(ch,p)].pop(0)
            if t>s: notes.append((ch+1,F(s,div),F(t-s,div),p))
root=ET.parse(xmlf).getroot()
steps={'C':0,'D':2,'E':4,'F':5,'G':7,'A':9,'B':11}
got=[]
for part in root.findall('part'):
    pid=int(part.get('id')[1:]) if part.get('id')[1:].isdigit() else part.get('id')
    pos=F(0); mstart=F(0); divs=1; ties={}
    for m in part.findall('measure'):
        pos=mstart; mlen=F(0); last=F(0)
        for e in m:
            if e.tag=='attributes' and e.find('divisions') is not None: divs=int(e.find('divisions').text)
            elif e.tag=='backup': pos-=F(int(e.find('duration').text),divs)
            elif e.tag=='forward': pos+=F(int(e.find('duration').text),divs)
            elif e.tag=='note':
                if e.find('grace') is not None: continue
                d=F(int(e.find('duration').text),divs)
                start = last if e.find('chord') is not None else pos
                if e.find('chord') is None: last=pos; pos+=d
                if e.find('pitch') is not None:
                    pe=e.find('pitch'); p=(int(pe.find('octave').text)+1)*12+steps[pe.find('step').text]+int(float(pe.find('alter').text)) if pe.find('alter') is not None else (int(pe.find('octave').text)+1)*12+steps[pe.find('step').text]
                    tt=[t.get('type') for t in e.findall('tie')]
                    key=(p,)
                    if 'stop' in tt and (p,start) in ties:
                        i=ties.pop((p,start)); n=got[i]; got[i]=(n[0],n[1],n[2]+d,n[3])
                        if 'start' in tt: ties[(p,start+d)]=i
                    else:
                        got.append((pid,start,d,p))
                        if 'start' in tt: ties[(p,start+d)]=len(got)-1
            mlen=max(mlen,pos-mstart)
        mstart+=mlen
a=sorted(notes); b=sorted(got)
print('midi notes',len(a),'xml notes',len(b),'SAME' if a==b else 'DIFFERENT')
if a!=b:
    sa=set(a); sb=set(b); print('only midi',sorted(sa-sb)[:5]); print('only xml',sorted(sb-sa)[:5])
