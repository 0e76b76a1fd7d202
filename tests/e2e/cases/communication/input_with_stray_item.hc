d ? zskip;
